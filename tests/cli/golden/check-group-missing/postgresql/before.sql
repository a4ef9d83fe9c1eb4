SET session_replication_role = replica;
UPDATE t_DataFlowSubSystem SET FTopClassID = 870 WHERE FSubSysID = 8010;
