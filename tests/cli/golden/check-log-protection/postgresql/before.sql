DROP TRIGGER tr_t_DataFlowSubSystem_log ON t_DataFlowSubSystem;
DROP TRIGGER tr_t_AccountType_log ON t_AccountType;
