DROP TRIGGER tr_ck_subsystem_number_UPDATE;
UPDATE t_DataFlowSubSystem SET FSUBID = '条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码采集条码' WHERE FSubSysID = 8004;
