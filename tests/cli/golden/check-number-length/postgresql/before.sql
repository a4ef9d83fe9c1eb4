ALTER TABLE t_DataFlowSubSystem DROP CONSTRAINT ck_subsystem_number;
UPDATE t_DataFlowSubSystem SET FSUBID = '条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码' WHERE FSubSysID = 8004;
ALTER TABLE t_DataFlowSubSystem ADD CONSTRAINT ck_subsystem_number CHECK ((FSUBID IS NULL OR char_length(FSUBID) <= 40)) NOT VALID;
