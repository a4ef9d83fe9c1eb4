UPDATE t_DataFlowSubSystem SET FName_EN = 'Dealer Portal for every dealer of every region and country' WHERE FSubSysID = 8001;
