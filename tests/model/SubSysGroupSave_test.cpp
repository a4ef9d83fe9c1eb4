// What the real stores cannot tell apart is checked here: which calls a save makes, and its
// result. What is stored, and what a failed write leaves, the store tests check on SQLite and
// PostgreSQL; the record a subsystem is written with, the golden cases of the command-line tool.

#include <gtest/gtest.h>

#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"

namespace quarn::subsysmgr {
namespace {

using Sequence = std::vector<std::string>;

class SubSysGroupSave : public ModelFixture {
  protected:
    // The calls that reach the update component, in order.
    Sequence Writes() const {
        Sequence result;
        for (const fakes::Call& call : suite.calls->Calls()) {
            if (call.component == "DatasUpdate") {
                result.push_back(call.member);
            }
        }
        return result;
    }

    // A group of 850's subsystems, loaded the way the subsystem editor does it.
    std::unique_ptr<SubSysGroup> LoadedGroup() {
        auto group = std::make_unique<SubSysGroup>();
        EXPECT_TRUE(group->initial(850));
        group->GetSubSystem(-1);
        group->OptType(enm_OptType_SubSystem);
        suite.calls->Clear();
        return group;
    }
};

TEST_F(SubSysGroupSave, AnExistingGroupIsWrittenOnlyWhenMarkedAndAFailedWriteRaises) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    suite.calls->Clear();
    EXPECT_FALSE(group.Save());
    EXPECT_EQ(Writes(), Sequence{});

    // Marked deleted and modified, a group without subsystems is deleted and created again.
    suite.datasInfo->groups.push_back({852, "试点", "試點", "Pilot", 40, true, 1, ",1,"});
    SubSysGroup pilot;
    ASSERT_TRUE(pilot.initial(852));
    pilot.Deleted(true);
    pilot.Modified(true);
    suite.calls->Clear();
    EXPECT_TRUE(pilot.Save());
    EXPECT_EQ(Writes(), (Sequence{"BeginTransaction", "DeleteItemIfUnchanged", "CreateTopClass",
                                  "CommitTransaction"}));

    group.Modified(true);
    suite.datasUpdate->failures.FailOn("CreateTopClass");
    suite.calls->Clear();
    EXPECT_EQ(ErrorOf([&] { group.Save(); }).Number(), fakes::kInjectedFailure);
    EXPECT_EQ(Writes().back(), "RollbackTransaction");
}

TEST_F(SubSysGroupSave, ASubsystemIsDeletedFirstOnlyUnderAPreviousId) {
    auto group = LoadedGroup();
    group->Item(8004)->Modified(true);  // SubSystemID_Old 0: the row is not deleted first
    const SubSystemPtr renumbered = group->Item(8003);
    renumbered->SubSystemID_Old(8003);
    renumbered->Id(8007);
    group->UpdateSubSystem(renumbered);  // now the last one

    EXPECT_TRUE(group->Save());
    EXPECT_EQ(Writes(),
              (Sequence{"BeginTransaction", "CreateSubSys", "CommitTransaction", "BeginTransaction",
                        "DeleteItemIfUnchanged", "CreateSubSys", "CommitTransaction"}));
}

TEST_F(SubSysGroupSave, TheResultReportsTheLastSubsystemHandled) {
    auto group = LoadedGroup();
    suite.businessObjectCounts[8003] = 1;
    group->DeleteSubSystem(8001);
    group->DeleteSubSystem(8003);
    EXPECT_FALSE(group->Save());  // 8001 was deleted, 8003 refused for its business objects
    EXPECT_EQ(suite.messageBox->shown.size(), 1u);

    // Without subsystems nothing is written.
    SubSysGroup empty;
    ASSERT_TRUE(empty.initial(850));
    empty.OptType(enm_OptType_SubSystem);
    suite.calls->Clear();
    EXPECT_FALSE(empty.Save());
    EXPECT_EQ(Writes(), Sequence{});
}

}  // namespace
}  // namespace quarn::subsysmgr
