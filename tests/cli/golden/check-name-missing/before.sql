DROP TRIGGER tr_ck_topclass_names_UPDATE;
UPDATE t_DataFlowTopClass SET FTopClassName_CHS = '  ' WHERE FTopClassID = 851;
CREATE TRIGGER tr_ck_topclass_names_UPDATE BEFORE UPDATE OF FTopClassName_CHS ON t_DataFlowTopClass WHEN NOT (trim(NEW.FTopClassName_CHS) <> '') BEGIN SELECT RAISE(ABORT, 'ck_topclass_names'); END;
