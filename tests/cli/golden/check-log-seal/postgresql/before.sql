UPDATE t_DataFlowChangeLog SET FClient = 'mallory@forged' WHERE FSeq = 1;
