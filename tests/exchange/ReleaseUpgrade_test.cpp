// Upgrades of the delivered tree on both stores: a customer database with customer subsystems
// under delivered groups, platform additions and a history keeps every customer and platform row
// through an upgrade that adds, renames, reorders, moves and removes delivered items; the upgrade
// is one change that reverts whole; every conflict refuses it and writes nothing.
#include "exchange/ReleaseUpgrade.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "exchange/TreeReader.h"
#include "foundation/RaisedError.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "store/StoreFixture.h"

namespace quarn::subsysmgr::exchange {
namespace {

using suite::Backend;
using Kind = TreeItemRef::Kind;

constexpr int32_t kUpgradeRefused = ObjectError(2333);
constexpr int32_t kNoOrphanGroup = ObjectError(2332);
constexpr int32_t kUpgradeStale = ObjectError(2334);
constexpr int32_t kRevertStale = ObjectError(2212);
const SuiteRelease kNext{"2027.06", "2027-06-01"};

constexpr const char* kGroupColumns =
    "FTopClassID, FtopClassName, FTopClassName_CHS, FTopClassName_CHT, FTopClassName_EN, FIndex, "
    "FVisible, FShowSysType, FAcctType";
constexpr const char* kSubSystemColumns =
    "FSubSysID, FTopClassID, FName, FName_CHS, FName_CHT, FName_EN, FSUBID, FClassName, FVisible, "
    "FIndex, FAcctType, FShowSysType";
constexpr const char* kCustomerGroups =
    "(FTopClassID BETWEEN 800 AND 899 OR FTopClassID BETWEEN 10000 AND 19999)";
constexpr const char* kCustomerSubSystems =
    "(FSubSysID BETWEEN 8000 AND 8999 OR FSubSysID BETWEEN 100000 AND 199990)";

class ReleaseUpgradeTest : public suite::StoreTest {
  protected:
    void SetUp() override {
        suite::StoreTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        text.emplace(host->Registry(), "EN");
        // A platform group and subsystem, and a customer subsystem under a delivered group.
        Administer(std::string("INSERT INTO t_DataFlowTopClass (") + kGroupColumns +
                   ") VALUES (10001, '平台', '平台', '平臺', 'Platform', 200, 1, 3, ',1,')");
        Administer(std::string("INSERT INTO t_DataFlowSubSystem (") + kSubSystemColumns +
                   ") VALUES (100001, 4, '平台工具', '平台工具', '平臺工具', 'Platform Tool', "
                   "'pt', 'Platform.App', 1, 9, ',1,', 1)");
        Administer("UPDATE t_DataFlowSubSystem SET FTopClassID = 13 WHERE FSubSysID = 8004");
    }

    std::shared_ptr<IReleaseStore> Store() const {
        return host->Registry().Create<IReleaseStore>(progid::kReleaseStore);
    }

    // The database's delivered items and account types as a release named `header`.
    Release Current(SuiteRelease header = kNext) const {
        TreeReader reader(module);
        Release release{std::move(header), {}, {}, {}};
        for (const GroupItem& group : reader.Groups()) {
            if (IsDelivered({Kind::Group, group.id})) {
                release.groups.push_back(group);
            }
        }
        for (const SubSystemItem& subSystem : reader.SubSystems()) {
            if (IsDelivered({Kind::SubSystem, subSystem.id})) {
                release.subSystems.push_back(subSystem);
            }
        }
        const auto byId = [](const auto& a, const auto& b) { return a.id < b.id; };
        std::sort(release.groups.begin(), release.groups.end(), byId);
        std::sort(release.subSystems.begin(), release.subSystems.end(), byId);
        for (const AccountTypeRow& type : Store()->AccountTypes(Context())) {
            release.accountTypes.push_back({type.code, {type.chs, type.cht, type.en}});
        }
        return release;
    }

    std::string Rows(const std::string& sql) const {
        std::ostringstream out;
        const auto rows = Stored(sql);
        for (const uint32_t row : rows->LiveRows()) {
            for (std::size_t column = 0; column < rows->ColumnCount(); ++column) {
                const Variant& value = rows->Value(row, column);
                out << (value.IsNull() ? "<null>" : value.ToText()) << '|';
            }
            out << '\n';
        }
        return out.str();
    }
    // Every column but the row version of the rows in or out of the customer and platform ranges.
    std::string TreeRows(bool customer) const {
        const std::string in = customer ? "" : "NOT ";
        return Rows(std::string("SELECT ") + kGroupColumns + " FROM t_DataFlowTopClass WHERE " +
                    in + kCustomerGroups + " ORDER BY 1") +
               Rows(std::string("SELECT ") + kSubSystemColumns +
                    " FROM t_DataFlowSubSystem WHERE " + in + kCustomerSubSystems + " ORDER BY 1");
    }
    // A dump of every table, and on SQLite the file's bytes besides.
    std::string Dump() const {
        std::string dump;
        for (const char* table :
             {"t_DataFlowTopClass", "t_DataFlowSubSystem", "t_AccountType", "ICClassType",
              "t_DataFlowSubFunc", "t_MultiCheckFlow", "t_WorkFlow", "t_Report",
              "t_DataFlowChangeLog", "t_DataFlowChangeSeq", "t_DataFlowChangePruned",
              "t_SchemaVersion", "t_SuiteRelease"}) {
            dump += Rows(std::string("SELECT * FROM ") + table + " ORDER BY 1");
        }
        for (const char* file : {"tree.sqlite", "tree.sqlite-wal"}) {
            std::ifstream bytes(scratch->folder / file, std::ios::binary);
            dump += std::string(std::istreambuf_iterator<char>(bytes), {});
        }
        return dump;
    }

    static void Remove(Release& release, std::initializer_list<int32_t> groups) {
        for (const int32_t group : groups) {
            std::erase_if(release.groups, [&](const GroupItem& item) { return item.id == group; });
            std::erase_if(release.subSystems,
                          [&](const SubSystemItem& item) { return item.group == group; });
        }
    }
    static const UpgradeItem& Item(const UpgradePlan& plan, std::string_view kind, int32_t id) {
        return *std::ranges::find_if(plan.items, [&](const UpgradeItem& item) {
            return item.kind == kind && item.id == id;
        });
    }

    std::optional<ExchangeText> text;
};

TEST_P(ReleaseUpgradeTest, AnUpgradeWritesOnlyDeliveredRowsAsOneChangeThatRevertsWhole) {
    const Release shipped = Current(Store()->Shipped());
    const std::string customers = TreeRows(true);
    const std::string delivered = TreeRows(false);
    Release next = Current();
    Remove(next, {15});
    next.groups.push_back({16, {"云分析", "雲分析", "Cloud Analytics"}, 160, true, true, {1, 14}});
    next.subSystems.push_back(
        {63, 16, "ca", {"云报表", "雲報表", "Cloud Reports"}, 1, true, true, {1}});
    std::ranges::find_if(next.subSystems, [](const auto& s) { return s.id == 12; })->group = 16;
    std::ranges::find_if(next.subSystems, [](const auto& s) { return s.id == 2; })->index = 9;
    std::ranges::find_if(next.groups, [](const auto& g) { return g.id == 13; })->names.en =
        "System Administration";
    std::erase_if(next.accountTypes, [](const AccountTypeItem& type) { return type.code == 8; });
    next.accountTypes.push_back({14, {"合作社", "合作社", "Cooperative"}});
    next.accountTypes[10].names.en = "Service company";

    ReleaseUpgrade upgrade(module, *text);
    const UpgradePlan plan = upgrade.Plan(next);
    EXPECT_EQ(plan.Conflicts(), 0u);
    EXPECT_EQ(plan.from, Store()->Shipped());
    EXPECT_EQ(Item(plan, "group", 16).outcome, UpgradeOutcome::Added);
    EXPECT_EQ(Item(plan, "group", 15).outcome, UpgradeOutcome::Removed);
    EXPECT_EQ(Item(plan, "subsystem", 60).outcome, UpgradeOutcome::Removed);
    EXPECT_EQ(Item(plan, "subsystem", 12).outcome, UpgradeOutcome::Moved);
    EXPECT_EQ(Item(plan, "accountType", 8).outcome, UpgradeOutcome::Removed);
    const UpgradeItem& renamed = Item(plan, "group", 13);
    ASSERT_EQ(renamed.changes.size(), 1u);
    EXPECT_EQ(renamed.changes[0].key, "names.EN");
    EXPECT_EQ(renamed.changes[0].before, "System Settings");
    EXPECT_EQ(Item(plan, "subsystem", 2).changes[0].key, "index");
    EXPECT_EQ(Item(plan, "subsystem", 1).outcome, UpgradeOutcome::Unchanged);

    // A rehearsal shows what runs inside it the upgraded tree and leaves nothing behind, not even
    // in the session's own reads.
    const std::string before = Dump();
    std::vector<GroupItem> rehearsed;
    upgrade.Rehearse(plan, [&] { rehearsed = Current().groups; });
    EXPECT_EQ(rehearsed, next.groups);
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(Current(Store()->Shipped()).groups, shipped.groups);

    upgrade.Apply(plan);
    EXPECT_EQ(TreeRows(true), customers);
    const Release stored = Current();
    EXPECT_EQ(stored.groups, next.groups);
    EXPECT_EQ(stored.subSystems.size(), next.subSystems.size());
    for (const SubSystemItem& subSystem : next.subSystems) {
        EXPECT_EQ(*std::ranges::find_if(stored.subSystems,
                                        [&](const auto& s) { return s.id == subSystem.id; }),
                  subSystem);
    }
    std::sort(next.accountTypes.begin(), next.accountTypes.end(),
              [](const auto& a, const auto& b) { return a.code < b.code; });
    EXPECT_EQ(stored.accountTypes, next.accountTypes);
    EXPECT_EQ(Store()->Release(Context()), kNext);
    EXPECT_FALSE(ReleaseUpgrade::StateOf(*module).Older());
    const std::string note = "FNote = '" + ReleaseUpgrade::Note(kNext) + "'";
    EXPECT_EQ(
        StoredValue("SELECT count(DISTINCT FTxn) FROM t_DataFlowChangeLog WHERE " + note).ToInt32(),
        1);
    EXPECT_TRUE(upgrade.Plan(next).NothingToDo());

    // Any number of the upgrade's change takes it back whole.
    const int64_t first =
        StoredValue("SELECT min(FSeq) FROM t_DataFlowChangeLog WHERE " + note).ToInt64();
    const std::optional<ReleaseChange> change = Store()->UpgradeOf(first);
    ASSERT_TRUE(change);
    EXPECT_EQ(change->release, kNext);
    Store()->RevertUpgrade(first, false, ChangeRevert::Note(change->change, false));
    EXPECT_EQ(TreeRows(true), customers);
    EXPECT_EQ(TreeRows(false), delivered);
    EXPECT_EQ(Current(Store()->Shipped()).accountTypes, shipped.accountTypes);
    EXPECT_EQ(Store()->Release(Context()), Store()->Shipped());
    EXPECT_FALSE(Store()->UpgradeOf(first));
}

// An upgrade that writes no item (a renamed account type, a new one, the release's name) is a
// change of its own in the history all the same; another program's edit of one of its account
// types since refuses its revert until the revert is forced.
TEST_P(ReleaseUpgradeTest, AnUpgradeOfOnlyTheAccountTypesIsAChangeInTheHistoryThatRevertsWhole) {
    const Release shipped = Current(Store()->Shipped());
    const std::string tree = TreeRows(true) + TreeRows(false);
    Release next = Current();
    AccountTypeItem& renamed = next.accountTypes.back();
    renamed.names.en = "Renamed by the release";
    next.accountTypes.push_back({14, {"合作社", "合作社", "Cooperative"}});
    ReleaseUpgrade upgrade(module, *text);
    const int64_t change = upgrade.Apply(upgrade.Plan(next));
    ASSERT_GT(change, 0);
    EXPECT_EQ(TreeRows(true) + TreeRows(false), tree);

    const auto history = host->Registry().Create<IChangeHistory>(progid::kChangeHistory);
    const std::vector<RecordChange> records = history->RecordChanges(Context());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].number, change);
    EXPECT_EQ(records[0].record, RecordChange::Record::Release);
    EXPECT_EQ(records[0].after->Item("FName").TextOrEmpty(), kNext.name);
    for (const RecordChange& record : records) {
        EXPECT_EQ(record.note, ReleaseUpgrade::Note(kNext));
        EXPECT_FALSE(record.otherProgram);
    }
    const auto typeChange = [&](int32_t code) {
        return *std::ranges::find_if(records, [&](const RecordChange& record) {
            return record.record == RecordChange::Record::AccountType && record.id == code;
        });
    };
    EXPECT_EQ(typeChange(14).operation, LoggedChange::Operation::Added);
    EXPECT_EQ(typeChange(renamed.code).operation, LoggedChange::Operation::Changed);
    const std::optional<ReleaseChange> upgradeChange = Store()->UpgradeOf(records.back().number);
    ASSERT_TRUE(upgradeChange);
    EXPECT_EQ(upgradeChange->change, change);

    Administer("UPDATE t_AccountType SET FDesc_EN = 'Co-op' WHERE FAcctType = 14");
    EXPECT_EQ(history->RecordChanges(Context()).front().otherProgram,
              GetParam() == Backend::SQLite);
    const std::string note = ChangeRevert::Note(change, false);
    EXPECT_EQ(RaisedError([&] { Store()->RevertUpgrade(change, false, note); }), kRevertStale);
    Store()->RevertUpgrade(change, true, ChangeRevert::Note(change, true));
    EXPECT_EQ(Current(Store()->Shipped()).accountTypes, shipped.accountTypes);
    EXPECT_EQ(Store()->Release(Context()), Store()->Shipped());
    EXPECT_EQ(TreeRows(true) + TreeRows(false), tree);
    EXPECT_EQ(history->RecordChanges(Context()).size(), 7u) << "the revert is logged as well";
}

TEST_P(ReleaseUpgradeTest, EachConflictIsRefusedNamingBothItemsAndNothingIsWritten) {
    Administer("UPDATE t_DataFlowSubSystem SET FTopClassID = 15 WHERE FSubSysID = 8005");
    Release next = Current();
    Remove(next, {15});
    std::ranges::find_if(next.groups, [](const auto& g) { return g.id == 3; })->names.cht =
        "客戶化擴充";
    std::erase_if(next.subSystems, [](const SubSystemItem& item) { return item.id == 1; });
    std::erase_if(next.accountTypes, [](const AccountTypeItem& type) { return type.code == 2; });
    const std::string before = Dump();

    ReleaseUpgrade upgrade(module, *text);
    const UpgradePlan plan = upgrade.Plan(next);
    const auto only = [&](std::string_view kind, int32_t id) {
        const UpgradeItem& item = Item(plan, kind, id);
        EXPECT_FALSE(item.conflicts.empty()) << kind << ' ' << id;
        return item.conflicts.empty() ? UpgradeConflict{} : item.conflicts.front();
    };
    const UpgradeConflict orphan = only("group", 15);
    EXPECT_EQ(orphan.kind, ConflictKind::Orphan);
    EXPECT_EQ(orphan.other, (TreeItemRef{Kind::SubSystem, 8005}));
    EXPECT_EQ(orphan.otherNames.en, "Supplier Evaluation");
    const UpgradeConflict name = only("group", 3);
    EXPECT_EQ(name.kind, ConflictKind::NameTaken);
    EXPECT_EQ(name.other, (TreeItemRef{Kind::Group, 850}));
    EXPECT_EQ(name.language, "CHT");
    const UpgradeConflict used = only("subsystem", 1);
    EXPECT_EQ(used.kind, ConflictKind::StillUsed);
    EXPECT_EQ(used.uses, 5);  // three business objects, a report and an approval flow
    const UpgradeItem& accountType = Item(plan, "accountType", 2);
    EXPECT_EQ(accountType.conflicts.size(), 4u);  // group 850, subsystems 8001, 8003 and 8004
    EXPECT_EQ(accountType.conflicts.front().kind, ConflictKind::AccountTypeInUse);
    EXPECT_EQ(accountType.conflicts.front().other, (TreeItemRef{Kind::Group, 850}));
    EXPECT_EQ(plan.Conflicts(), 3u + accountType.conflicts.size());

    EXPECT_EQ(RaisedError([&] { upgrade.Apply(plan); }), kUpgradeRefused);
    EXPECT_EQ(Dump(), before);
}

TEST_P(ReleaseUpgradeTest, AChangeByAnotherSessionAfterThePlanRefusesTheWriteAndWritesNothing) {
    Release next = Current();
    SubSystemItem& renamed =
        *std::ranges::find_if(next.subSystems, [](const auto& s) { return s.group == 13; });
    renamed.names.en = "Taken in between";
    ReleaseUpgrade upgrade(module, *text);
    const UpgradePlan plan = upgrade.Plan(next);
    ASSERT_EQ(plan.Conflicts(), 0u);

    // Another user renames the customer subsystem beside it into the name the release gives.
    Administer(
        "UPDATE t_DataFlowSubSystem SET FName_EN = 'Taken in between' WHERE FSubSysID = "
        "8004");
    const std::string before = Dump();
    EXPECT_EQ(RaisedError([&] { upgrade.Apply(plan); }), kUpgradeStale);
    EXPECT_EQ(Dump(), before);

    // Planned again, the preview names the conflict.
    const UpgradePlan again = upgrade.Plan(next);
    const UpgradeItem& item = Item(again, "subsystem", renamed.id);
    ASSERT_EQ(item.conflicts.size(), 1u);
    EXPECT_EQ(item.conflicts.front().other, (TreeItemRef{Kind::SubSystem, 8004}));
}

TEST_P(ReleaseUpgradeTest, OrphansMoveToTheNamedCustomerGroupAndNothingElseOfTheirsChanges) {
    Administer("UPDATE t_DataFlowSubSystem SET FTopClassID = 15 WHERE FSubSysID = 8005");
    Release next = Current();
    Remove(next, {15});
    ReleaseUpgrade upgrade(module, *text);
    EXPECT_EQ(RaisedError([&] { upgrade.Plan(next, 14); }), kNoOrphanGroup);
    EXPECT_EQ(RaisedError([&] { upgrade.Plan(next, 899); }), kNoOrphanGroup);
    const std::string orphan = "SELECT " + std::string(kSubSystemColumns) +
                               " FROM t_DataFlowSubSystem WHERE FSubSysID = 8005";
    const std::string before = Rows(orphan);

    const UpgradePlan plan = upgrade.Plan(next, 852);
    EXPECT_EQ(plan.Conflicts(), 0u);
    EXPECT_EQ(Item(plan, "group", 15).conflicts.front().movedTo, 852);
    upgrade.Apply(plan);
    std::string expected = before;
    expected.replace(expected.find("|15|"), 4, "|852|");
    EXPECT_EQ(Rows(orphan), expected);
    EXPECT_EQ(StoredCount("t_DataFlowTopClass", "FTopClassID = 15"), 0);
}

TEST_P(ReleaseUpgradeTest, OnPostgreSQLOnlyALoginWithTheUpgraderRoleMayUpgrade) {
    if (GetParam() == Backend::SQLite) {
        GTEST_SKIP() << "SQLite knows no logins";
    }
    const std::string role = "quarn_release_" + std::to_string(::getpid());
    Administer("CREATE ROLE " + role + " LOGIN");
    Administer("GRANT quarn_writer TO " + role);
    Release next = Current();
    next.groups.front().index += 1;
    const std::string before = Dump();
    {
        suite::HostSession writer(scratch->Spec() + " user=" + role, "EN");
        writer.Activate();
        ReleaseUpgrade upgrade(writer.Module(), *text);
        const UpgradePlan plan = upgrade.Plan(next);
        EXPECT_EQ(RaisedError([&] { upgrade.Apply(plan); }), ObjectError(2210));
        EXPECT_EQ(Dump(), before);
        Administer("GRANT quarn_upgrader TO " + role);
        upgrade.Apply(upgrade.Plan(next));
    }
    subsysmgr::ModuleState::Install(module);
    EXPECT_EQ(Store()->Release(Context()), kNext);
    Administer("DROP OWNED BY " + role);
    Administer("DROP ROLE " + role);
}

INSTANTIATE_TEST_SUITE_P(Stores, ReleaseUpgradeTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         suite::BackendName);

}  // namespace
}  // namespace quarn::subsysmgr::exchange
