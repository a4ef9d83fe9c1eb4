UPDATE t_DataFlowSubSystem SET FName_CHT = '門市' || chr(27) || '[2J管理' WHERE FSubSysID = 8003;
