UPDATE t_DataFlowSubSystem SET FName_EN = 'Barcode_Capture' WHERE FSubSysID = 8004;
