UPDATE t_DataFlowSubSystem SET FAcctType = ',1,99,' WHERE FSubSysID = 8003;
