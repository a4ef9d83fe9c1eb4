UPDATE t_DataFlowSubSystem SET FTopClassID = 15 WHERE FSubSysID = 8005;
