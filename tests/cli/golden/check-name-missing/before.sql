DROP TRIGGER tr_ck_topclass_names_UPDATE;
UPDATE t_DataFlowTopClass SET FTopClassName_CHS = '  ' WHERE FTopClassID = 851;
