-- A rule of this database that the program does not know: one display order per subsystem of
-- group 850. Only the database can refuse an edit that breaks it.
CREATE UNIQUE INDEX ix_group850_order ON t_DataFlowSubSystem (FIndex) WHERE FTopClassID = 850;
