PRAGMA foreign_keys = OFF;
UPDATE t_DataFlowSubSystem SET FTopClassID = 870 WHERE FSubSysID = 8010;
