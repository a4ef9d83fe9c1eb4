UPDATE t_DataFlowTopClass SET FTopClassName_EN = 'System Setup' WHERE FTopClassID = 13;
UPDATE t_SuiteRelease SET FName = '2026.06', FDate = '2026-06-01';
