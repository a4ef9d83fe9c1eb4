UPDATE t_DataFlowSubSystem SET FSUBID = 'd%r' WHERE FSubSysID = 8001;
