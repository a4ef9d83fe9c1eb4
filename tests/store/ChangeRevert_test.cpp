// Reverts on the real stores, where the change log's numbering differs: SQLite numbers every
// logged row, PostgreSQL every transaction, so one number may stand for several items there.

#include "model/ChangeRevert.h"

#include <gtest/gtest.h>

#include "host/IChangeHistory.h"
#include "host/ProgIds.h"
#include "model/SubSysGroup.h"
#include "store/StoreFixture.h"

namespace quarn::suite {
namespace {

using subsysmgr::ChangeRevert;
using Kind = TreeItemRef::Kind;

constexpr int32_t kChangeNotFound = ObjectError(1043);
constexpr int32_t kChangeNotReverted = ObjectError(1046);
constexpr int32_t kChangeOfSeveralItems = ObjectError(1047);

class ChangeRevertTest : public StoreTest {
  protected:
    std::shared_ptr<IChangeHistory> History() const {
        return host->Registry().Create<IChangeHistory>(progid::kChangeHistory);
    }
    // The item's last logged change.
    ItemChange LastChange(Kind kind, int32_t id) const {
        return History()->Changes(Context(), TreeItemRef{kind, id}).front();
    }
    int32_t StoredIndex(int32_t subSystemId) const {
        return StoredValue("SELECT FIndex FROM t_DataFlowSubSystem WHERE FSubSysID = " +
                           std::to_string(subSystemId))
            .ToInt32();
    }
    // The notes of the log rows of the last change, a rewrite: on SQLite its two numbers.
    std::vector<std::string> LastRewriteNotes() const {
        const int span = GetParam() == Backend::SQLite ? 1 : 0;
        const auto rows = Stored(
            "SELECT FNote FROM t_DataFlowChangeLog WHERE FSeq >= (SELECT max(FSeq) FROM "
            "t_DataFlowChangeLog) - " +
            std::to_string(span));
        std::vector<std::string> notes;
        for (const uint32_t row : rows->LiveRows()) {
            notes.push_back(rows->Value(row, 0).IsNull() ? "null" : rows->Value(row, 0).ToText());
        }
        return notes;
    }
};

TEST_P(ChangeRevertTest, ARevertNamesTheItemWhenOneTransactionChangedSeveral) {
    // Another program changes two subsystems with one statement.
    Administer(
        "UPDATE t_DataFlowSubSystem SET FIndex = FIndex + 10 WHERE FSubSysID IN (8002, 8003)");
    const ItemChange change = LastChange(Kind::SubSystem, 8002);
    const bool oneNumber = GetParam() != Backend::SQLite;
    EXPECT_EQ(History()->Change(Context(), change.number).size(), oneNumber ? 2u : 1u);

    ChangeRevert revert(module);
    if (oneNumber) {
        EXPECT_EQ(RaisedError([&] { revert.Revert(change.number); }), kChangeOfSeveralItems);
    }
    EXPECT_EQ(RaisedError([&] {
                  revert.Revert(change.number, false, TreeItemRef{Kind::SubSystem, 8004});
              }),
              kChangeNotFound);
    EXPECT_EQ(StoredIndex(8002), 12);

    const auto outcome = revert.Revert(change.number, false, TreeItemRef{Kind::SubSystem, 8002});
    EXPECT_EQ(outcome.action, ChangeRevert::Action::Restored);
    EXPECT_EQ(StoredIndex(8002), 2);
    EXPECT_EQ(StoredIndex(8003), 13);
    const ItemChange reverted = LastChange(Kind::SubSystem, 8002);
    EXPECT_EQ(reverted.operation, ItemChange::Operation::Changed);
    EXPECT_EQ(reverted.note, ChangeRevert::Note(change.number, false));
    EXPECT_EQ(
        StoredValue("SELECT FVersion FROM t_DataFlowSubSystem WHERE FSubSysID = 8002").ToInt64(),
        reverted.number);
    if (!oneNumber) {
        // SQLite numbers a rewrite's two rows apart: either number finds the whole change.
        const auto firstHalf = History()->Change(Context(), reverted.number - 1);
        ASSERT_EQ(firstHalf.size(), 1u);
        EXPECT_EQ(firstHalf.front().number, reverted.number);
    }
}

TEST_P(ChangeRevertTest, AForcedRevertIsLoggedAsSuchAndARefusedOneLeavesNoNoteBehind) {
    const std::string name = StoredName(8005);
    Administer(
        "UPDATE t_DataFlowSubSystem SET FName_EN = 'Typed In A Console' WHERE FSubSysID = 8005");
    const int64_t renamed = LastChange(Kind::SubSystem, 8005).number;
    Administer("UPDATE t_DataFlowSubSystem SET FIndex = 9 WHERE FSubSysID = 8005");

    ChangeRevert revert(module);
    EXPECT_EQ(RaisedError([&] { revert.Revert(renamed); }), kChangedElsewhere);
    EXPECT_EQ(StoredName(8005), "Typed In A Console");
    revert.Revert(renamed, true);
    EXPECT_EQ(StoredName(8005), name);
    EXPECT_EQ(StoredIndex(8005), 5);  // as before the renaming: later changes are overwritten
    const std::string forced = ChangeRevert::Note(renamed, true);
    EXPECT_EQ(LastChange(Kind::SubSystem, 8005).note, forced);
    EXPECT_EQ(LastRewriteNotes(), std::vector<std::string>(2, forced))
        << "both rows of the revert's own change carry its note";

    // A group that another program added, with a subsystem: reverting the addition is refused
    // by the delete rule, after its message box, and writes nothing.
    Administer(
        "INSERT INTO t_DataFlowTopClass (FTopClassID, FtopClassName, FTopClassName_CHS, "
        "FTopClassName_CHT, FTopClassName_EN, FAcctType) VALUES (860, 'x', 'x', 'x', 'x', ',1,')");
    const int64_t added = LastChange(Kind::Group, 860).number;
    Administer(
        "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, FName_CHT, "
        "FName_EN, FAcctType) VALUES (8600, 860, 'y', 'y', 'y', 'y', ',1,')");
    EXPECT_EQ(RaisedError([&] { revert.Revert(added); }), kChangeNotReverted);
    EXPECT_EQ(messages->prompts.size(), 1u);
    EXPECT_EQ(StoredCount("t_DataFlowTopClass", "FTopClassID = 860"), 1);

    // The session's next save is not taken for a revert.
    subsysmgr::SubSysGroup group(module);
    ASSERT_TRUE(group.initial(850));
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    const subsysmgr::SubSystemPtr edited = group.GetSubSystem(8005, false);
    StartEditing(*edited);
    edited->Index(6);
    group.UpdateSubSystem(edited);
    EXPECT_TRUE(group.Save());
    EXPECT_EQ(LastChange(Kind::SubSystem, 8005).note, "");
}

TEST_P(ChangeRevertTest, ADeletionRevertedAndThatRevertRevertedDeletesAgain) {
    subsysmgr::SubSysGroup group(module);
    ASSERT_TRUE(group.initial(851));
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    group.GetSubSystem(-1);
    ASSERT_TRUE(group.DeleteSubSystem(8010));
    ASSERT_TRUE(group.Save());
    const int64_t deleted = LastChange(Kind::SubSystem, 8010).number;

    ChangeRevert revert(module);
    EXPECT_EQ(revert.Revert(deleted).action, ChangeRevert::Action::Recreated);
    EXPECT_EQ(
        StoredValue("SELECT FClassName FROM t_DataFlowSubSystem WHERE FSubSysID = 8010").ToText(),
        "PharmaTrace.Application")
        << "the program the subsystem named comes back with it";
    // The deletion and the revert that brought the item back are two changes, also where
    // SQLite logged them as a delete followed by an insert.
    const ItemChange recreated = LastChange(Kind::SubSystem, 8010);
    EXPECT_EQ(recreated.operation, ItemChange::Operation::Added);
    EXPECT_EQ(revert.Revert(recreated.number).action, ChangeRevert::Action::Deleted);
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FSubSysID = 8010"), 0);
}

INSTANTIATE_TEST_SUITE_P(Stores, ChangeRevertTest, AllBackends(), BackendName);

}  // namespace
}  // namespace quarn::suite
