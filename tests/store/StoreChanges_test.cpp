#include <gtest/gtest.h>

#include <algorithm>

#include "model/SubSysGroup.h"
#include "runtime/SessionContext.h"
#include "store/StoreFixture.h"

namespace quarn::suite {
namespace {

using subsysmgr::enm_OptType_SubSystem;
using subsysmgr::ModuleState;
using subsysmgr::SubSysGroup;
using subsysmgr::SubSystemPtr;

// Group 850 with its subsystems, as the subsystem editor of the session loads it.
std::unique_ptr<SubSysGroup> LoadGroup(std::shared_ptr<ModuleState> module) {
    auto group = std::make_unique<SubSysGroup>(std::move(module));
    EXPECT_TRUE(group->initial(850));
    group->GetSubSystem(-1);
    group->OptType(enm_OptType_SubSystem);
    return group;
}

// Changes a loaded subsystem as the editor does and saves it; returns the error the save
// skipped it for, or 0.
template <class Change>
int32_t Edit(SubSysGroup& group, int32_t id, Change&& change) {
    const SubSystemPtr subSystem = group.Item(id);
    StartEditing(*subSystem);
    change(*subSystem);
    group.UpdateSubSystem(subSystem);
    group.Save();
    return group.LastSaveFailure()
               ? RaisedError([&] { std::rethrow_exception(group.LastSaveFailure()); })
               : 0;
}

class StoreChanges : public StoreTest {
  protected:
    // A second user's session on the same database, in this process.
    void OpenOtherSession() {
        other = std::make_unique<HostSession>(scratch->Spec(), "EN");
        other->Activate();
        otherModule = other->Module();
        ModuleState::Install(module);
        otherModule->messageBox = std::make_shared<RecordingMessageBox>();
    }

    std::unique_ptr<HostSession> other;
    std::shared_ptr<ModuleState> otherModule;
};

TEST_P(StoreChanges, OfTwoEditsOfOneItemOnlyTheFirstIsStoredAndTheSecondIsTold) {
    OpenOtherSession();
    auto mine = LoadGroup(module);
    auto theirs = LoadGroup(otherModule);

    EXPECT_EQ(Edit(*mine, 8005, [](auto& s) { s.NameEN("Supplier Rating"); }), 0);
    EXPECT_EQ(Edit(*theirs, 8005, [](auto& s) { s.Index(9); }), kChangedElsewhere);
    EXPECT_EQ(StoredName(8005), "Supplier Rating");
    EXPECT_EQ(
        StoredValue("SELECT FIndex FROM t_DataFlowSubSystem WHERE FSubSysID = 8005").ToInt32(), 5);

    // A deletion racing an edit: whichever comes second is refused.
    EXPECT_TRUE(mine->DeleteSubSystem(8004));
    EXPECT_TRUE(mine->Save());
    EXPECT_EQ(Edit(*theirs, 8004, [](auto& s) { s.Index(8); }), kChangedElsewhere);
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FSubSysID = 8004"), 0);

    // Reloading gives the other user the stored row, and then their change goes in.
    auto reloaded = LoadGroup(otherModule);
    EXPECT_EQ(Edit(*reloaded, 8005, [](auto& s) { s.Index(9); }), 0);
    EXPECT_EQ(StoredName(8005), "Supplier Rating");

    // A group edited in both sessions.
    SubSysGroup myGroup(module);
    SubSysGroup theirGroup(otherModule);
    ASSERT_TRUE(myGroup.initial(850));
    ASSERT_TRUE(theirGroup.initial(850));
    myGroup.Modified(true);
    EXPECT_TRUE(myGroup.Save());
    theirGroup.Modified(true);
    EXPECT_EQ(RaisedError([&] { theirGroup.Save(); }), kChangedElsewhere);
}

// What the log holds of another program's write and of our own, and who wrote it, the change
// history's golden cases and the revert tests show.
TEST_P(StoreChanges, ASessionSeesAnotherProgramsWriteAfterClearCacheAlsoWhenTheLogWasPruned) {
    auto editor = LoadGroup(module);
    const std::string before = CachedName(8005);
    Administer(
        "UPDATE t_DataFlowSubSystem SET FName_EN = 'Typed In A Console' WHERE FSubSysID = "
        "8005");
    EXPECT_EQ(CachedName(8005), before);  // the snapshot is not asked until told
    module->dataFlowInfo->ClearCache();
    EXPECT_EQ(CachedName(8005), "Typed In A Console");
    // The editor still holds what it read: its save would overwrite the console's change.
    EXPECT_EQ(Edit(*editor, 8005, [](auto& s) { s.Index(9); }), kChangedElsewhere);

    // A log pruned past the snapshot: the next read after ClearCache reads everything again.
    Administer("UPDATE t_DataFlowSubSystem SET FIndex = 7 WHERE FSubSysID = 8005");
    Administer("DELETE FROM t_DataFlowChangeLog");
    module->dataFlowInfo->ClearCache();
    auto afterPruning = LoadGroup(module);
    EXPECT_EQ(afterPruning->Item(8005)->Index(), 7);
    EXPECT_EQ(Edit(*afterPruning, 8005, [](auto& s) { s.NameEN("After Pruning"); }), 0);
    EXPECT_EQ(CachedName(8005), "After Pruning");
}

// A write that fails at any of its steps (the delete, the insert, either logged row, the
// version stamp, the commit) leaves the row, the log, the change number and the session's
// snapshot as they were; the same save succeeds once the fault is gone.
TEST_P(StoreChanges, AWriteFailingAtAnyStepLeavesRowLogAndVersionAsTheyWere) {
    const bool sqlite = GetParam() == Backend::SQLite;
    // Each fault: when a failing trigger fires, on which table, and for which rows.
    struct Fault {
        std::string when;
        std::string table;
        std::string condition;
    };
    std::vector<Fault> faults = {
        {"BEFORE DELETE", "t_DataFlowSubSystem", "OLD.FSubSysID = 8004"},
        {"BEFORE INSERT", "t_DataFlowSubSystem", "NEW.FSubSysID = 8004"},
        {"BEFORE INSERT", "t_DataFlowChangeLog", "NEW.FOperation = 'DELETE'"},
        {"BEFORE INSERT", "t_DataFlowChangeLog", "NEW.FOperation = 'INSERT'"},
    };
    if (sqlite) {
        faults.push_back({"BEFORE UPDATE", "t_DataFlowSubSystem", "1 = 1"});  // version stamp
        faults.push_back({"BEFORE UPDATE", "t_DataFlowChangeLog", "1 = 1"});  // client stamp
    } else {
        Administer(
            "CREATE FUNCTION quarn_test_fault() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
            "RAISE EXCEPTION 'injected fault'; END $$");
        faults.push_back({"AFTER INSERT", "t_DataFlowSubSystem", "NEW.FSubSysID = 8004"});
    }
    const std::string everything = "SELECT * FROM t_DataFlowSubSystem WHERE FSubSysID = 8004";
    const auto snapshotOf = [&] {
        const auto rows = Stored(everything);
        std::string text;
        for (std::size_t column = 0; column < rows->ColumnCount(); ++column) {
            text += rows->Value(rows->LiveRows().front(), column).ToText() + "|";
        }
        return text + StoredValue("SELECT count(*) FROM t_DataFlowChangeLog").ToText() + "|" +
               StoredValue("SELECT coalesce(max(FSeq), 0) FROM t_DataFlowChangeLog").ToText();
    };
    const std::string before = snapshotOf();
    LoadGroup(module);  // the session's snapshot holds the tree
    const std::string cachedBefore = CachedName(8004);

    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.when + " ON " + fault.table + " WHEN " + fault.condition);
        if (sqlite) {
            Administer("CREATE TRIGGER tr_test_fault " + fault.when + " ON " + fault.table +
                       " WHEN " + fault.condition +
                       " BEGIN SELECT RAISE(ABORT, 'injected fault'); END");
        } else {
            // An AFTER trigger fails at the commit: deferred to it as a constraint trigger.
            const bool atCommit = fault.when.starts_with("AFTER");
            Administer(std::string(atCommit ? "CREATE CONSTRAINT TRIGGER" : "CREATE TRIGGER") +
                       " tr_test_fault " + fault.when + " ON " + fault.table +
                       (atCommit ? " DEFERRABLE INITIALLY DEFERRED" : "") + " FOR EACH ROW WHEN (" +
                       fault.condition + ") EXECUTE FUNCTION quarn_test_fault()");
        }
        auto group = LoadGroup(module);
        EXPECT_NE(Edit(*group, 8004, [](auto& s) { s.NameEN("Never Stored"); }), 0);
        EXPECT_EQ(snapshotOf(), before);
        EXPECT_EQ(CachedName(8004), cachedBefore);
        Administer("DROP TRIGGER tr_test_fault" + (sqlite ? "" : " ON " + fault.table));
    }

    auto group = LoadGroup(module);
    EXPECT_EQ(Edit(*group, 8004, [](auto& s) { s.NameEN("Stored At Last"); }), 0);
    EXPECT_EQ(CachedName(8004), "Stored At Last");
    EXPECT_EQ(
        StoredValue("SELECT FVersion FROM t_DataFlowSubSystem WHERE FSubSysID = 8004").ToInt64(),
        StoredValue("SELECT max(FSeq) FROM t_DataFlowChangeLog WHERE FItemID = 8004").ToInt64());
}

// A session reads only what it is asked for (one group's subsystems, one subsystem's group).
// What it reads later is read at the state then committed, and what it holds is brought to that
// state in the same read, so everything it answers shows one state; its own saves go into what
// it holds without a read. Groups are kept in display order.
TEST_P(StoreChanges, WhatASessionReadsPieceByPieceShowsOneState) {
    IDatasInfo& info = subsysmgr::GetDataFlowInfo(*module);
    const auto idsOf = [](const RecordsetPtr& rows) {
        std::vector<int32_t> ids;
        for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
            ids.push_back(rows->Fields("FSubSysID").ToInt32());
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    const auto storedIds = [&](const std::string& condition) {
        std::vector<int32_t> ids;
        const auto rows = Stored("SELECT FSubSysID FROM t_DataFlowSubSystem WHERE " + condition +
                                 " ORDER BY FSubSysID");
        for (const uint32_t row : rows->LiveRows()) {
            ids.push_back(rows->Value(row, 0).ToInt32());
        }
        return ids;
    };
    const RecordsetPtr first = info.GetSubSystem_All(Variant(850));
    EXPECT_EQ(idsOf(first), storedIds("FTopClassID = 850"));

    // Another program moves a subsystem the session holds to a group it has not read.
    Administer("UPDATE t_DataFlowSubSystem SET FTopClassID = 851 WHERE FSubSysID = 8005");
    EXPECT_EQ(idsOf(info.GetSubSystem_All(Variant(851))), storedIds("FTopClassID = 851"));
    EXPECT_EQ(idsOf(info.GetSubSystem_All(Variant(850))), storedIds("FTopClassID = 850"));
    const std::vector<int32_t> asRead = idsOf(first);  // a Recordset keeps the rows it had
    EXPECT_EQ(std::count(asRead.begin(), asRead.end(), 8005), 1);

    // One subsystem of a group not read yet, and one that does not exist.
    DictionaryPtr delivered;
    ASSERT_TRUE(info.GetSubSystemInfo(1, delivered));
    EXPECT_EQ(delivered->Item("FName_EN").ToText(), StoredName(1));
    DictionaryPtr missing;
    EXPECT_FALSE(info.GetSubSystemInfo(8999, missing));
    EXPECT_FALSE(info.GetSubSystemInfo(8001.5, missing));
    // The Recordset of every subsystem reads what its filter needs: one by its key, one group's.
    const RecordsetPtr every = info.GetSubSystem_All(Variant(int16_t{-1}));
    every->Filter("FSubSysID=1");
    EXPECT_EQ(every->Fields("FName_EN").ToText(), StoredName(1));
    every->Filter("FSubSysID=8999");
    EXPECT_TRUE(every->Eof() && every->Bof());
    every->Filter("FTopClassID=851");
    EXPECT_EQ(idsOf(every), storedIds("FTopClassID = 851"));

    // The session's own save moves a subsystem into a group it has not read.
    SubSysGroup group(module);
    ASSERT_TRUE(group.initial(850));
    const SubSystemPtr moved = group.GetSubSystem(8003, false);
    ASSERT_TRUE(moved);
    StartEditing(*moved);
    moved->SubSystemGroupID(852);
    group.UpdateSubSystem(moved);
    group.OptType(enm_OptType_SubSystem);
    ASSERT_TRUE(group.Save());
    EXPECT_EQ(idsOf(info.GetSubSystem_All(Variant(850))), storedIds("FTopClassID = 850"));
    EXPECT_EQ(idsOf(info.GetSubSystem_All(Variant(852))), storedIds("FTopClassID = 852"));
    EXPECT_EQ(idsOf(info.GetSubSystem_All(Variant(int16_t{-1}))), storedIds("1 = 1"));

    // Groups, and a group's subsystems, stay in display order when this session or another
    // program reorders one, as a long-running reader lists them.
    const auto listed = [](const RecordsetPtr& rows, const char* column) {
        std::vector<int32_t> ids;
        for (; !rows->Eof(); rows->MoveNext()) {
            ids.push_back(rows->Fields(column).ToInt32());
        }
        return ids;
    };
    const auto stored = [&](const std::string& sql) {
        std::vector<int32_t> ids;
        const auto rows = Stored(sql);
        for (const uint32_t row : rows->LiveRows()) {
            ids.push_back(rows->Value(row, 0).ToInt32());
        }
        return ids;
    };
    const std::string groupOrder =
        "SELECT FTopClassID FROM t_DataFlowTopClass ORDER BY FIndex, FTopClassID";
    SubSysGroup pilot(module);
    ASSERT_TRUE(pilot.initial(852));
    pilot.Index(0);
    pilot.Modified(true);
    ASSERT_TRUE(pilot.Save());
    EXPECT_EQ(listed(info.GetTopClass_All(), "FTopClassID"), stored(groupOrder));
    Administer("UPDATE t_DataFlowTopClass SET FIndex = 1000 WHERE FTopClassID = 852");
    info.ClearCache();
    EXPECT_EQ(listed(info.GetTopClass_All(), "FTopClassID"), stored(groupOrder));

    const std::string subSystemOrder =
        "SELECT FSubSysID FROM t_DataFlowSubSystem WHERE FTopClassID = 850 ORDER BY FIndex, "
        "FSubSysID";
    Administer("UPDATE t_DataFlowSubSystem SET FIndex = 0 WHERE FSubSysID = 8004");
    info.ClearCache();
    EXPECT_EQ(listed(info.GetSubSystem_All(Variant(850)), "FSubSysID"), stored(subSystemOrder));
    ASSERT_TRUE(group.initial(850));
    const SubSystemPtr last = group.GetSubSystem(8001, false);
    ASSERT_TRUE(last);
    StartEditing(*last);
    last->Index(99);
    group.UpdateSubSystem(last);
    group.OptType(enm_OptType_SubSystem);
    ASSERT_TRUE(group.Save());
    EXPECT_EQ(listed(info.GetSubSystem_All(Variant(850)), "FSubSysID"), stored(subSystemOrder));
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreChanges, AllBackends(), BackendName);

}  // namespace
}  // namespace quarn::suite
