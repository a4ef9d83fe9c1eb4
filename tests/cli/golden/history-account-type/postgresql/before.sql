UPDATE t_AccountType SET FDesc_EN = 'Manufacturing' WHERE FAcctType = 1;
