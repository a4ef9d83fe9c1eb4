UPDATE t_DataFlowSubSystem SET FIndex = 1001 WHERE FSubSysID = 8010;
