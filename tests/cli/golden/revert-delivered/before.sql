UPDATE t_DataFlowSubSystem SET FIndex = 7 WHERE FSubSysID = 1;
