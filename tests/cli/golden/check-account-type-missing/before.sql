UPDATE t_DataFlowTopClass SET FAcctType = ',,' WHERE FTopClassID = 852;
UPDATE t_DataFlowTopClass SET FAcctType = NULL WHERE FTopClassID = 14;
