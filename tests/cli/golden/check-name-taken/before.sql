UPDATE t_DataFlowSubSystem SET FName_EN = 'Dealer Portal ' WHERE FSubSysID = 8002;
UPDATE t_DataFlowTopClass SET FTopClassName_CHS = ' 行业套件' WHERE FTopClassID = 850;
