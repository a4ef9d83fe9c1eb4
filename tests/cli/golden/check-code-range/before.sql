UPDATE t_DataFlowTopClass SET FTopClassID = 950 WHERE FTopClassID = 852;
