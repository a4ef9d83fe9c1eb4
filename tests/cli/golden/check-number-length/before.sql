DROP TRIGGER tr_ck_subsystem_number_UPDATE;
UPDATE t_DataFlowSubSystem SET FSUBID = '条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码' WHERE FSubSysID = 8004;
CREATE TRIGGER tr_ck_subsystem_number_UPDATE BEFORE UPDATE OF FSUBID ON t_DataFlowSubSystem WHEN NOT ((NEW.FSUBID IS NULL OR length(NEW.FSUBID) <= 40)) BEGIN SELECT RAISE(ABORT, 'ck_subsystem_number'); END;
