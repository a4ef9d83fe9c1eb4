UPDATE t_DataFlowSubSystem SET FIndex = -1, FAcctType = ',' WHERE FSubSysID = 8002;
