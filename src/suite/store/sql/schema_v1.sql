-- Functional tree, version 1.
-- Runs unchanged on SQLite 3 and PostgreSQL 15, one statement at a time.

-- Subsystem groups (top level of the tree).
-- FShowSysType: bit 1 = visible in the desktop client, bit 2 = visible on the web.
-- FAcctType: account types the group applies to, written ',1,3,'.
CREATE TABLE t_DataFlowTopClass (
    FTopClassID INTEGER PRIMARY KEY,
    FtopClassName TEXT NOT NULL,
    FTopClassName_CHS TEXT NOT NULL,
    FTopClassName_CHT TEXT NOT NULL DEFAULT '',
    FTopClassName_EN TEXT NOT NULL DEFAULT '',
    FIndex INTEGER NOT NULL DEFAULT 0,
    FVisible INTEGER NOT NULL DEFAULT 1,
    FShowSysType INTEGER NOT NULL DEFAULT 1,
    FAcctType TEXT,
    CONSTRAINT uq_topclass_name_chs UNIQUE (FTopClassName_CHS),
    CONSTRAINT uq_topclass_name_cht UNIQUE (FTopClassName_CHT),
    CONSTRAINT uq_topclass_name_en UNIQUE (FTopClassName_EN)
);

CREATE INDEX ix_topclass_index ON t_DataFlowTopClass (FIndex);

-- Subsystems (second level), each inside one group.
-- The group reference is checked at commit so a group and its
-- subsystems can be written in any order within one transaction.
CREATE TABLE t_DataFlowSubSystem (
    FSubSysID INTEGER PRIMARY KEY,
    FTopClassID INTEGER NOT NULL,
    FName TEXT,
    FName_CHS TEXT NOT NULL,
    FName_CHT TEXT NOT NULL DEFAULT '',
    FName_EN TEXT NOT NULL DEFAULT '',
    FSUBID TEXT,
    FClassName TEXT NOT NULL DEFAULT 'QuarnBroxActive.Application',
    FVisible INTEGER NOT NULL DEFAULT 1,
    FIndex INTEGER NOT NULL DEFAULT 0,
    FAcctType TEXT,
    FShowSysType INTEGER NOT NULL DEFAULT 1,
    CONSTRAINT fk_subsystem_group FOREIGN KEY (FTopClassID)
        REFERENCES t_DataFlowTopClass (FTopClassID)
        DEFERRABLE INITIALLY DEFERRED,
    CONSTRAINT uq_subsystem_name_chs UNIQUE (FTopClassID, FName_CHS),
    CONSTRAINT uq_subsystem_name_cht UNIQUE (FTopClassID, FName_CHT),
    CONSTRAINT uq_subsystem_name_en UNIQUE (FTopClassID, FName_EN)
);

CREATE INDEX ix_subsystem_group ON t_DataFlowSubSystem (FTopClassID);

-- Account types referred to by the FAcctType lists.
CREATE TABLE t_AccountType (
    FAcctType INTEGER PRIMARY KEY,
    FDesc TEXT NOT NULL,
    FDesc_CHT TEXT NOT NULL,
    FDesc_EN TEXT NOT NULL
);

-- Business-object types owned by subsystems.
-- FBillTypeID: 1 = base-data type, 5 and 6 = internal, anything else = bill.
-- FControl: only types with both bits 1 and 2 set are shown.
-- FFunctionID: owning subsystem (FSubSysID).
CREATE TABLE ICClassType (
    FID INTEGER PRIMARY KEY,
    FName TEXT NOT NULL,
    FName_CHT TEXT NOT NULL,
    FName_EN TEXT NOT NULL,
    FBillTypeID INTEGER NOT NULL,
    FControl INTEGER NOT NULL,
    FFunctionID INTEGER NOT NULL
);

CREATE INDEX ix_classtype_subsystem ON ICClassType (FFunctionID);

-- Sub-functions of a subsystem.
CREATE TABLE t_DataFlowSubFunc (
    FSubFuncID INTEGER PRIMARY KEY,
    FSubSysID INTEGER NOT NULL,
    FName TEXT NOT NULL,
    FName_CHT TEXT NOT NULL,
    FName_EN TEXT NOT NULL,
    FIndex INTEGER NOT NULL DEFAULT 0
);

CREATE INDEX ix_subfunc_subsystem ON t_DataFlowSubFunc (FSubSysID);

-- Multi-level approval flows.
CREATE TABLE t_MultiCheckFlow (
    FID INTEGER PRIMARY KEY,
    FName TEXT NOT NULL,
    FName_CHT TEXT NOT NULL,
    FName_EN TEXT NOT NULL,
    FSubSysID INTEGER NOT NULL
);

CREATE INDEX ix_multicheckflow_subsystem ON t_MultiCheckFlow (FSubSysID);

-- Work flows.
CREATE TABLE t_WorkFlow (
    FID INTEGER PRIMARY KEY,
    FName TEXT NOT NULL,
    FName_CHT TEXT NOT NULL,
    FName_EN TEXT NOT NULL,
    FSubSysID INTEGER NOT NULL
);

CREATE INDEX ix_workflow_subsystem ON t_WorkFlow (FSubSysID);

-- Reports. FType: 1000 = SQL report, 1002 = cross-tab report, 1004 = new cross-tab report.
CREATE TABLE t_Report (
    FID INTEGER PRIMARY KEY,
    FName TEXT NOT NULL,
    FName_CHT TEXT NOT NULL,
    FName_EN TEXT NOT NULL,
    FType INTEGER NOT NULL,
    FSubSysID INTEGER
);
