#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "host/IClassInfo.h"
#include "host/IDatasUpdate.h"
#include "host/ILog.h"
#include "host/ProgIds.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "store/StoreFixture.h"
#include "suite/store/DatasUpdate.h"
#include "suite/store/FreeQueries.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {
namespace {

using subsysmgr::enm_OptType_SubSystem;
using subsysmgr::SubSysGroup;
using subsysmgr::SubSystem;
using subsysmgr::SubSystemPtr;
using ::testing::StartsWith;
namespace errors = subsysmgr::errors;

std::vector<int32_t> Ids(const SubSysGroup& group) {
    std::vector<int32_t> ids;
    for (const SubSystemPtr& subSystem : *group.SubSystems()) {
        ids.push_back(subSystem->Id());
    }
    return ids;
}

class StoreScenario : public StoreTest {
  protected:
    // Every value of the cached row, types included, or nothing when the row is not there.
    std::vector<Variant> CachedRow(int32_t subSystemId) const {
        const RecordsetPtr rows = module->dataFlowInfo->GetSubSystem_All(Variant(int16_t{-1}));
        rows->Filter("FSubSysID=" + std::to_string(subSystemId));
        std::vector<Variant> values;
        for (std::size_t c = 0; !rows->Eof() && c < rows->ColumnCount(); ++c) {
            values.push_back(rows->Fields(rows->ColumnName(c)));
        }
        return values;
    }
};

TEST_P(StoreScenario, LoadsGroupsAndSubsystems) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    EXPECT_EQ(group.NameCHS(), "客户化扩展");
    EXPECT_EQ(group.NameCHT(), "客戶化擴充");
    EXPECT_EQ(group.NameEN(), "Custom Extensions");
    EXPECT_EQ(group.Name(), "Custom Extensions");
    EXPECT_FALSE(SubSysGroup().initial(853));

    std::vector<int32_t> order;
    const VectorPtr groups = group.GetAllSubSysGroup();
    for (const Variant& row : groups->Items()) {
        order.push_back(row.AsDictionary()->Item("ID").ToInt32());
    }
    EXPECT_EQ(order, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 850,
                                           851, 852}));
    EXPECT_EQ(groups->Item(0).AsDictionary()->Item("FTopClassName_EN"),
              Variant("Financial Accounting"));

    const SubSystemPtr supplier = group.GetSubSystem(8005, false);
    ASSERT_TRUE(supplier);
    EXPECT_EQ(Ids(group), std::vector<int32_t>{8005});
    EXPECT_EQ(supplier->SubSystemGroupID(), 850);
    EXPECT_EQ(supplier->Name(), "Supplier Evaluation");
    EXPECT_EQ(supplier->NameCHT(), "供應商評鑑");
    EXPECT_EQ(supplier->Number(), "");  // FSUBID null
    EXPECT_EQ(supplier->FitAccountType(), ",1,");
    EXPECT_EQ(supplier->Index(), 5);
    EXPECT_TRUE(supplier->Visible() && !supplier->WebVisible());

    // Checked against the stored rows, every subsystem is accepted as itself.
    EXPECT_EQ(group.GetSubSystem(0), nullptr);
    EXPECT_EQ(Ids(group), (std::vector<int32_t>{8001, 8002, 8003, 8004, 8005}));
    EXPECT_EQ(group.Item(8001)->NameEN(), "Dealer Portal");
}

TEST_P(StoreScenario, SavesSubsystemChangesThatTheSessionSeesAtOnce) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.OptType(enm_OptType_SubSystem);

    const SubSystemPtr supplier = group.GetSubSystem(8005, false);
    StartEditing(*supplier);
    supplier->DictName(Names(supplier->NameCHS(), supplier->NameCHT(), "Supplier Rating"));
    supplier->Modified(true);
    group.UpdateSubSystem(supplier);
    EXPECT_TRUE(group.Save());
    EXPECT_EQ(StoredName(8005), "Supplier Rating");
    // The session takes its own rows without reading them back: exactly what a read gives.
    const std::vector<Variant> cached = CachedRow(8005);
    module->dataFlowInfo->ClearCache();
    EXPECT_EQ(cached, CachedRow(8005));
    EXPECT_EQ(cached.at(5), Variant("Supplier Rating"));  // FName_EN

    // One save: a renumbering, an addition, a deletion and a refused deletion.
    group.GetSubSystem(-1);
    const SubSystemPtr stores = group.Item(8003);
    stores->SubSystemID_Old(8003);
    stores->Id(8007);
    group.UpdateSubSystem(stores);
    const auto added = SubSystem::Create();
    added->SubSystemGroupID(850);
    added->Id(8100);
    EXPECT_TRUE(added->IsNew());
    added->DictName(Names("售后回访", "售後回訪", "Service Follow-up"));
    added->Index(6);
    added->Visible(true);
    group.UpdateSubSystem(added);
    EXPECT_TRUE(group.DeleteSubSystem(8004));
    EXPECT_TRUE(group.DeleteSubSystem(8001));  // refused by Save: it has business objects
    EXPECT_EQ(RaisedError([&] { group.DeleteSubSystem(8002); }),
              errors::kSubSystemHasSubFunctions.Number());
    EXPECT_TRUE(group.Save());

    EXPECT_EQ(StoredName(8003), "-");
    EXPECT_EQ(StoredName(8004), "-");
    EXPECT_EQ(StoredName(8007), "Store Operations");
    EXPECT_EQ(StoredName(8100), "Service Follow-up");
    EXPECT_EQ(StoredName(8001), "Dealer Portal");
    ASSERT_EQ(messages->prompts.size(), 1u);
    EXPECT_THAT(messages->prompts[0], StartsWith("Dealer Portal "));

    EXPECT_EQ(CachedName(8003), "-");
    EXPECT_EQ(CachedName(8004), "-");
    EXPECT_EQ(CachedName(8007), "Store Operations");
    EXPECT_EQ(CachedName(8100), "Service Follow-up");
    SubSysGroup second;
    ASSERT_TRUE(second.initial(850));
    second.GetSubSystem(-1);
    EXPECT_THAT(Ids(second), ::testing::UnorderedElementsAre(8001, 8002, 8005, 8007, 8100));
    EXPECT_EQ(second.Item(8007)->Index(), 3);

    // A rewrite keeps the program a subsystem names, which another program may have set; a new
    // subsystem names the suite's own.
    const SubSystemPtr portal = second.Item(8001);
    StartEditing(*portal);
    portal->Index(9);
    portal->Modified(true);
    second.OptType(enm_OptType_SubSystem);
    second.UpdateSubSystem(portal);
    EXPECT_TRUE(second.Save());
    const auto programs = Stored(
        "SELECT FClassName, FIndex FROM t_DataFlowSubSystem WHERE FSubSysID IN (8001, 8100) "
        "ORDER BY FSubSysID");
    ASSERT_EQ(programs->LiveRowCount(), 2u);
    EXPECT_EQ(programs->Value(0, 0).ToText(), "DealerPortal.Application");
    EXPECT_EQ(programs->Value(0, 1).ToInt32(), 9);
    EXPECT_EQ(programs->Value(1, 0).ToText(), "QuarnBroxActive.Application");
}

TEST_P(StoreScenario, SavesGroupsButNotTheDeletionOfOneWithSubsystems) {
    SubSysGroup custom;
    ASSERT_TRUE(custom.initial(850));
    custom.Deleted(true);
    EXPECT_FALSE(custom.Save());
    EXPECT_EQ(messages->prompts.size(), 1u);
    EXPECT_EQ(StoredCount("t_DataFlowTopClass", "FTopClassID = 850"), 1);

    // A rewrite deletes the group before it creates it again: its subsystems stay.
    SubSysGroup renamed;
    ASSERT_TRUE(renamed.initial(850));
    renamed.NameEN("Customer Extensions");
    renamed.Modified(true);
    EXPECT_TRUE(renamed.Save());
    EXPECT_EQ(
        StoredValue("SELECT FTopClassName_EN FROM t_DataFlowTopClass WHERE FTopClassID = 850"),
        Variant("Customer Extensions"));
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FTopClassID = 850"), 5);

    SubSysGroup pilot;
    ASSERT_TRUE(pilot.initial(852));
    pilot.Deleted(true);
    EXPECT_TRUE(pilot.Save());
    EXPECT_EQ(StoredCount("t_DataFlowTopClass", "FTopClassID = 852"), 0);

    SubSysGroup added;
    added.Id(860);
    added.DictName(Names("新分组", "新分組", "New Group"));
    added.Index(190);
    added.Visible(true);
    EXPECT_TRUE(added.Save());
    EXPECT_EQ(StoredValue("SELECT FTopClassName_EN FROM t_DataFlowTopClass WHERE FIndex = 190"),
              Variant("New Group"));

    const RecordsetPtr cached = module->dataFlowInfo->GetTopClass_All();
    cached->Filter("FTopClassID=852");
    EXPECT_TRUE(cached->Eof());
    cached->Filter("FTopClassID=860");
    EXPECT_FALSE(cached->Eof());
    SubSysGroup second;
    EXPECT_FALSE(second.initial(852));
    ASSERT_TRUE(second.initial(860));
    EXPECT_EQ(second.NameCHT(), "新分組");
    EXPECT_TRUE(second.Visible());
    EXPECT_EQ(second.GetAllSubSysGroup()->Items().back().AsDictionary()->Item("ID").ToInt32(), 860);
}

// A host's own update component that answers only the original operations, here over the
// store's.
class OriginalOperationsUpdate : public IDatasUpdate {
  public:
    explicit OriginalOperationsUpdate(std::shared_ptr<IDatasUpdate> store)
        : store_(std::move(store)) {}

    void BeginTransaction() override { store_->BeginTransaction(); }
    void CommitTransaction() override { store_->CommitTransaction(); }
    void RollbackTransaction() override { store_->RollbackTransaction(); }
    void DeleteItem(const Variant& itemType, int32_t itemId, bool flag) override {
        store_->DeleteItem(itemType, itemId, flag);
    }
    void CreateTopClass(int32_t index, DictionaryPtr record, bool flag) override {
        store_->CreateTopClass(index, std::move(record), flag);
    }
    void CreateSubSys(int32_t groupId, int32_t index, DictionaryPtr record, bool flag) override {
        store_->CreateSubSys(groupId, index, std::move(record), flag);
    }

  private:
    std::shared_ptr<IDatasUpdate> store_;
};

// A host's own log that knows only procedures: what it was asked to record.
class ProcedureLog : public ILog {
  public:
    Variant LogStart(const std::string& procedure) override {
        procedures.push_back(procedure);
        return int32_t{1};
    }
    void LogEnd(int32_t, int32_t) override {}
    bool IsEnabled() override { return true; }

    std::vector<std::string> procedures;
};

TEST_P(StoreScenario, AHostsUpdateComponentWithTheOriginalOperationsSavesAndTheLogSaysSoOnce) {
    const auto store = module->registry->Create<IDatasUpdate>(progid::kDatasUpdate);
    module->registry->Register(progid::kDatasUpdate, [store] {
        return std::make_shared<OriginalOperationsUpdate>(store);
    });
    const auto log = std::make_shared<ProcedureLog>();
    module->registry->Register(progid::kLog, [log] { return log; });

    SubSysGroup renamed;
    ASSERT_TRUE(renamed.initial(850));
    renamed.NameEN("Customer Extensions");
    renamed.Modified(true);
    EXPECT_TRUE(renamed.Save());
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.OptType(enm_OptType_SubSystem);
    group.GetSubSystem(-1);
    const SubSystemPtr supplier = group.Item(8005);
    StartEditing(*supplier);
    supplier->NameEN("Supplier Rating");
    group.UpdateSubSystem(supplier);
    EXPECT_TRUE(group.Save());

    EXPECT_EQ(
        StoredValue("SELECT FTopClassName_EN FROM t_DataFlowTopClass WHERE FTopClassID = 850"),
        Variant("Customer Extensions"));
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FTopClassID = 850"), 5);
    EXPECT_EQ(StoredName(8005), "Supplier Rating");
    EXPECT_EQ(std::count_if(log->procedures.begin(), log->procedures.end(),
                            [](const std::string& line) {
                                return line.find("stale-save detection is off") !=
                                       std::string::npos;
                            }),
              1);
}

TEST_P(StoreScenario, ListsTheBusinessObjectsOfASubsystem) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    const VectorPtr kinds = group.GetSubSystem(8001, false)->GetAllBusObject();
    ASSERT_EQ(kinds->Count(), 5u);
    const DictionaryPtr all = kinds->Item(4).AsDictionary();
    const auto names = [&](const char* kind) {
        std::vector<std::string> result;
        const VectorPtr entries = all->Item(kind).AsVector();
        for (const Variant& entry : entries->Items()) {
            result.push_back(entry.AsDictionary()->Item("FName").ToText());
        }
        return result;
    };
    EXPECT_THAT(names("TBASE"), ::testing::ElementsAre("Dealer", "Dealer Territory"));
    EXPECT_THAT(names("TBILL"), ::testing::UnorderedElementsAre("Dealer Statement", "Dealer Order",
                                                                "Dealer Rebate Note"));
    EXPECT_THAT(names("TMULTICHECK"), ::testing::ElementsAre("Dealer Order Approval"));
    EXPECT_THAT(names("TFLOW"),
                ::testing::ElementsAre("Dealer Registration", "Dealer Rebate Settlement"));

    const DictionaryPtr reports = all->Item("TREPORT").AsVector()->Item(0).AsDictionary();
    const auto ids = [&](const char* list) {
        std::vector<int32_t> result;
        const VectorPtr entries = reports->Item(list).AsVector();
        for (const Variant& entry : entries->Items()) {
            result.push_back(entry.AsDictionary()->Item("FID").ToInt32());
        }
        return result;
    };
    EXPECT_EQ(ids("TREPORT_SQL"), (std::vector<int32_t>{1, 2, 3, 6, 8, 11}));
    EXPECT_EQ(ids("TREPORT_CROSS"), (std::vector<int32_t>{4, 5, 10, 13}));
    EXPECT_EQ(ids("TREPORT_NEWCROSS"), (std::vector<int32_t>{7, 9, 12}));
}

TEST_P(StoreScenario, ARewriteTheDatabaseRefusesLeavesTheRowAndTheSaveGoesOn) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.OptType(enm_OptType_SubSystem);
    group.GetSubSystem(-1);
    const SubSystemPtr stores = group.Item(8003);
    StartEditing(*stores);
    stores->CancelCheck(true);  // the English name of 8004: only the database can refuse it
    stores->DictName(Names("门店运营", "門市運營", "Barcode Capture"));
    group.UpdateSubSystem(stores);
    const SubSystemPtr supplier = group.Item(8005);
    StartEditing(*supplier);
    supplier->NameEN("Supplier Rating");
    group.UpdateSubSystem(supplier);

    EXPECT_TRUE(group.Save());
    EXPECT_EQ(StoredName(8003), "Store Operations");
    EXPECT_EQ(StoredValue("SELECT FName_CHS FROM t_DataFlowSubSystem WHERE FSubSysID = 8003"),
              Variant("门店管理"));
    EXPECT_EQ(StoredName(8005), "Supplier Rating");
    EXPECT_EQ(CachedName(8003), "Store Operations");
    EXPECT_EQ(CachedName(8005), "Supplier Rating");
}

TEST_P(StoreScenario, TheDatabaseRefusesDuplicatesAndOrphansSayingWhatWasRefused) {
    const auto record = [](int32_t id, const std::string& en) {
        const DictionaryPtr r = Dictionary::Create();
        r->Item("FSubSysID", id);
        r->Item("FSysName", "子系统" + std::to_string(id));
        r->Item("FSysNameCHT", "子系統" + std::to_string(id));
        r->Item("FSysNameEN", en);
        return r;
    };
    // "<error number> [<engine code>] <description>" of the write's error.
    const auto refusal = [](auto&& write) {
        try {
            write();
        } catch (const ComError& error) {
            return std::to_string(error.Number()) + " [" + error.EngineCode() + "] " +
                   error.Description();
        }
        return std::string("not refused");
    };
    // The start of a refusal, with the engine's code on SQLite or else on PostgreSQL.
    const auto refused = [&](const std::string& sqliteCode, const std::string& sqlState) {
        return std::to_string(ErrorNumber(StoreError::Refused)) + " [" +
               (GetParam() == Backend::SQLite ? sqliteCode : sqlState) + "] Not saved: ";
    };

    const auto update = module->registry->Create<IDatasUpdate>(progid::kDatasUpdate);
    update->BeginTransaction();
    update->DeleteItem(Variant(kUpdateItemSubSystem), 8003, true);
    EXPECT_THAT(refusal([&] { update->CreateSubSys(850, 3, record(8004, "Stores"), true); }),
                StartsWith(refused("SQLITE_CONSTRAINT_PRIMARYKEY (1555)", "23505") +
                           "the subsystem identifier is already taken"));
    update->RollbackTransaction();
    EXPECT_EQ(StoredName(8003), "Store Operations");

    EXPECT_THAT(
        refusal([&] { update->CreateSubSys(850, 6, record(8100, "Barcode Capture"), true); }),
        StartsWith(refused("SQLITE_CONSTRAINT_UNIQUE (2067)", "23505") +
                   "another subsystem of the same group already has this English name"));
    EXPECT_THAT(refusal([&] { update->CreateSubSys(853, 1, record(8100, "Orphan"), true); }),
                StartsWith(refused("SQLITE_CONSTRAINT_FOREIGNKEY (787)", "23503") +
                           "a subsystem would be left without its group"));
    EXPECT_EQ(StoredName(8100), "-");

    // The rules of a row's own values: 41 code points of short code (40 are taken), a blank name.
    const DictionaryPtr longCode = record(8100, "Long Code");
    longCode->Item("FSubID", std::string(40, 'x'));
    update->CreateSubSys(850, 7, longCode, true);
    longCode->Item("FSubSysID", 8101);
    longCode->Item("FSysNameEN", "Longer Code");
    longCode->Item("FSubID", "代" + std::string(40, 'x'));
    EXPECT_THAT(refusal([&] { update->CreateSubSys(850, 8, longCode, true); }),
                StartsWith(refused("SQLITE_CONSTRAINT_TRIGGER (1811)", "23514") +
                           "a subsystem's short code cannot be longer than 40 characters"));
    const DictionaryPtr blank = record(8102, "Blank");
    blank->Item("FSysName", "  ");
    EXPECT_THAT(refusal([&] { update->CreateSubSys(850, 9, blank, true); }),
                StartsWith(refused("SQLITE_CONSTRAINT_TRIGGER (1811)", "23514") +
                           "a subsystem's names cannot be blank"));

    const DictionaryPtr group = Dictionary::Create();
    group->Item("FTopClassID", 860);
    group->Item("FTopClassName", "新分组");
    group->Item("FTopClassNameEN", "Pilot Projects");
    EXPECT_THAT(refusal([&] { update->CreateTopClass(190, group, true); }),
                StartsWith(refused("SQLITE_CONSTRAINT_UNIQUE (2067)", "23505") +
                           "another group already has this English name"));
}

TEST_P(StoreScenario, FreeQueriesOnlyRead) {
    const auto info = module->registry->Create<IClassInfo>(progid::kClassInfo);
    for (const char* sql :
         {"UPDATE t_DataFlowSubSystem SET FName_EN='x'",
          "DELETE FROM t_DataFlowSubSystem WHERE FSubSysID = 8005",
          "INSERT INTO t_AccountType VALUES (99, 'a', 'b', 'c')", "DROP TABLE t_Report",
          // Statements that would reach a file, a setting or another database.
          "PRAGMA query_only = OFF", "ATTACH DATABASE '/tmp/quarn_escape.db' AS escape",
          "VACUUM INTO '/tmp/quarn_escape.db'", "COPY t_Report TO '/tmp/quarn_escape.db'",
          "SET TRANSACTION READ WRITE",
          "SELECT set_config('default_transaction_read_only', 'off', false)",
          "SELECT lo_import('/etc/hostname')", "SELECT pg_read_file('/etc/hostname')",
          "SELECT 1; DELETE FROM t_Report",
          "WITH gone AS (DELETE FROM t_Report RETURNING FID) SELECT FID FROM gone",
          "SELECT * INTO t_Copy FROM t_Report", "SELECT load_extension('/tmp/x')"}) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(RaisedError([&] { info->GetData(Context(), sql); }),
                  ErrorNumber(StoreError::ReadOnly));
    }
    // A second statement must not escape the read-only transaction either.
    RaisedError(
        [&] { info->GetData(Context(), "COMMIT; UPDATE t_DataFlowSubSystem SET FName_EN='x'"); });
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FName_EN = 'x'"), 0);
    EXPECT_EQ(StoredName(8005), "Supplier Evaluation");
    EXPECT_EQ(StoredCount("t_Report", "FID > 0"), 13);
    EXPECT_FALSE(std::filesystem::exists("/tmp/quarn_escape.db"));

    const RecordsetPtr rows =
        info->GetData(Context(), "SELECT FName_EN FROM t_DataFlowSubSystem WHERE FSubSysID = 8001");
    EXPECT_EQ(rows->Fields("FName_EN"), Variant("Dealer Portal"));
    // The connection writes again once the free queries are done.
    module->registry->Create<IDatasUpdate>(progid::kDatasUpdate)
        ->DeleteItem(Variant(kUpdateItemSubSystem), 8005, true);
    EXPECT_EQ(StoredName(8005), "-");
}

TEST_P(StoreScenario, OnPostgreSQLASessionClosesItsConnectionsWhenDestroyed) {
    if (GetParam() == Backend::SQLite) {
        GTEST_SKIP() << "server connections are PostgreSQL's";
    }
    const auto connections = [&] {
        return StoredValue(
                   "SELECT count(*) FROM pg_stat_activity WHERE datname = "
                   "current_database()")
            .ToInt32();
    };
    const int32_t before = connections();
    {
        HostSession other(scratch->Spec(), "EN");
        other.Activate();
        EXPECT_TRUE(subsysmgr::SubSysGroup().initial(850));
        other.Registry()
            .Create<IClassInfo>(progid::kClassInfo)
            ->GetData(other.Context(), "SELECT 1");
        EXPECT_EQ(connections(), before + 1);
    }
    // The server ends a backend shortly after its client left.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (connections() != before && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(connections(), before);
}

TEST_P(StoreScenario, OnPostgreSQLFreeQueriesTakeTheReadingRoleOfTheApplicationsUser) {
    if (GetParam() == Backend::SQLite) {
        GTEST_SKIP() << "roles are PostgreSQL's";
    }
    const std::string user = "quarn_app_" + std::to_string(::getpid());
    for (const std::string& sql : std::vector<std::string>{
             std::string("DO $$BEGIN CREATE ROLE quarn_reader NOLOGIN; EXCEPTION WHEN "
                         "duplicate_object THEN NULL; END$$"),
             std::string("GRANT SELECT ON t_Report TO quarn_reader"),
             // The database's creator let the role read the tree: this role reads less.
             std::string("REVOKE SELECT ON t_DataFlowSubSystem FROM quarn_reader"),
             "CREATE ROLE " + user + " LOGIN", "GRANT quarn_reader TO " + user,
             "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO " + user}) {
        Administer(sql);
    }
    {
        HostSession app(scratch->Spec() + " user=" + user, "EN");
        app.Activate();
        const auto info = app.Registry().Create<IClassInfo>(progid::kClassInfo);
        EXPECT_EQ(info->GetData(app.Context(), "SELECT count(*) AS n FROM t_Report")
                      ->Fields("n")
                      .ToInt32(),
                  13);
        // The user may read the tree, but a free query reads as the reading role only.
        EXPECT_TRUE(subsysmgr::SubSysGroup().initial(850));
        EXPECT_EQ(RaisedError([&] {
                      info->GetData(app.Context(), "SELECT count(*) FROM t_DataFlowSubSystem");
                  }),
                  ErrorNumber(StoreError::ReadOnly));
    }
    Administer("DROP OWNED BY " + user);
    Administer("DROP ROLE " + user);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreScenario, AllBackends(), BackendName);

}  // namespace
}  // namespace quarn::suite
