-- A subsystem another program writes is found as soon as it is committed.
INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, FName_CHT, FName_EN) VALUES
(8702, 851, '自动驾驶', '自动驾驶', '自動駕駛', 'Autopilot');
