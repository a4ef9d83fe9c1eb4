ALTER TABLE t_DataFlowTopClass DROP CONSTRAINT ck_topclass_names;
UPDATE t_DataFlowTopClass SET FTopClassName_CHS = '  ' WHERE FTopClassID = 851;
ALTER TABLE t_DataFlowTopClass ADD CONSTRAINT ck_topclass_names CHECK (btrim(FTopClassName_CHS) <> '') NOT VALID;
