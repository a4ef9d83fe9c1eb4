#include <gtest/gtest.h>

#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"

namespace quarn::subsysmgr {
namespace {

using Sequence = std::vector<std::string>;

class SubSysGroupSave : public ModelFixture {
  protected:
    // The calls that reach the update component, the class information and the message box,
    // and the final re-read, in order.
    Sequence Writes() const {
        Sequence result;
        for (const std::string& call : suite.calls->Sequence()) {
            if (call.rfind("DatasUpdate.", 0) == 0 || call == "ClassInfo.GetData" ||
                call == "MessageBox.Show" || call == "DatasInfo.initial") {
                result.push_back(call.substr(call.find('.') + 1));
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

TEST_F(SubSysGroupSave, ANewGroupIsCreatedOnceWithItsWriteRecord) {
    SubSysGroup group;
    group.Id(860);
    group.DictName(Names("新分组", "新分組", "New"));
    group.Index(7);
    group.Visible(true);
    group.WebVisible(true);
    group.FitAccountType(",1,3,");
    suite.calls->Clear();

    EXPECT_TRUE(group.Save());
    EXPECT_EQ(Writes(),
              (Sequence{"BeginTransaction", "CreateTopClass", "CommitTransaction", "initial"}));
    const auto create = suite.calls->CallsTo("CreateTopClass").at(0).arguments;
    EXPECT_EQ(create.at(0), Variant(7));
    EXPECT_EQ(create.at(2), Variant(true));
    EXPECT_EQ(Describe(create.at(1)),
              "FTopClassID=860;FTopClassName=新分组;FTopClassNameCHT=新分組;FTopClassNameEN=New;"
              "FVisible=True;FAcctType=,1,3,;FShowSysType=3;");
}

TEST_F(SubSysGroupSave, AChangedGroupIsRewrittenInOneTransactionAndAnUnchangedOneNot) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    EXPECT_FALSE(group.Save());
    group.Modified(true);
    suite.calls->Clear();
    EXPECT_TRUE(group.Save());
    EXPECT_EQ(Writes(), (Sequence{"BeginTransaction", "DeleteItemIfUnchanged", "CreateTopClass",
                                  "CommitTransaction", "initial"}));
    EXPECT_EQ(suite.calls->CallsTo("DeleteItemIfUnchanged").at(0).arguments,
              (std::vector<Variant>{int16_t{1000}, int32_t{850}, int64_t{0}}));
}

TEST_F(SubSysGroupSave, OnlyAGroupWithoutSubsystemsIsDeletedAndMarkedModifiedAlsoCreated) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(851));  // one subsystem
    group.Deleted(true);
    suite.calls->Clear();
    EXPECT_FALSE(group.Save());
    EXPECT_EQ(Writes(), (Sequence{"GetData", "Show", "initial"}));
    EXPECT_EQ(suite.calls->CallsTo("GetData").at(0).arguments.at(1),
              Variant("select count(*) as FCount from t_DataFlowSubSystem where FTopClassID=851"));
    ASSERT_EQ(suite.messageBox->shown.size(), 1u);
    EXPECT_EQ(suite.messageBox->shown[0].prompt, "[CHS]系统分组下有子系统，不允许删除！");
    EXPECT_EQ(suite.messageBox->shown[0].flags, 48);

    suite.datasInfo->groups.push_back({852, "试点", "試點", "Pilot", 40, true, 1, ",1,"});
    SubSysGroup pilot;
    ASSERT_TRUE(pilot.initial(852));
    pilot.Deleted(true);
    pilot.Modified(true);
    suite.calls->Clear();
    EXPECT_TRUE(pilot.Save());
    EXPECT_EQ(Writes(), (Sequence{"GetData", "BeginTransaction", "DeleteItemIfUnchanged",
                                  "CreateTopClass", "CommitTransaction", "initial"}));
}

TEST_F(SubSysGroupSave, AFailedGroupRewriteRollsBackAndRaises) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.NameEN("Custom extensions");
    group.Modified(true);
    suite.datasUpdate->failures.FailOn("CreateTopClass");
    suite.calls->Clear();
    EXPECT_EQ(ErrorOf([&] { group.Save(); }).Number(), fakes::kInjectedFailure);
    EXPECT_EQ(Writes(), (Sequence{"BeginTransaction", "DeleteItemIfUnchanged", "CreateTopClass",
                                  "RollbackTransaction"}));
    SubSysGroup reread;
    ASSERT_TRUE(reread.initial(850));
    EXPECT_EQ(reread.NameEN(), "Custom");
}

TEST_F(SubSysGroupSave, ARenumberedSubsystemIsDeletedUnderItsOldIdentifier) {
    auto group = LoadedGroup();
    const SubSystemPtr renumbered = group->Item(8003);
    renumbered->SubSystemID_Old(8003);
    renumbered->Id(8007);
    renumbered->Visible(false);
    renumbered->WebVisible(true);
    group->UpdateSubSystem(renumbered);

    EXPECT_TRUE(group->Save());
    EXPECT_EQ(Writes(), (Sequence{"BeginTransaction", "DeleteItemIfUnchanged", "CreateSubSys",
                                  "CommitTransaction", "initial"}));
    EXPECT_EQ(suite.calls->CallsTo("DeleteItemIfUnchanged").at(0).arguments,
              (std::vector<Variant>{int32_t{100000}, int32_t{8003}, int64_t{0}}));
    const auto create = suite.calls->CallsTo("CreateSubSys").at(0).arguments;
    EXPECT_EQ(create.at(0), Variant(850));
    EXPECT_EQ(create.at(1), Variant(3));
    EXPECT_EQ(Describe(create.at(2)),
              "FSubSysID=8007;FSysName=门店运营;FSysNameCHT=門店運營;FSysNameEN=Stores;"
              "FClassName=QuarnBroxActive.Application;FSubID=s8003;FVisible=False;"
              "FAcctType=,1,2,;FShowSysType=2;FIndex=3;");
}

TEST_F(SubSysGroupSave, ANewSubsystemOrOneWithoutPreviousIdentifierIsOnlyCreated) {
    auto group = LoadedGroup();
    const auto added = SubSystem::Create();
    added->SubSystemGroupID(850);
    added->Id(8100);
    ASSERT_TRUE(added->IsNew());
    group->UpdateSubSystem(added);
    group->Item(8004)->Modified(true);  // SubSystemID_Old 0: the row is not deleted first
    EXPECT_TRUE(group->Save());
    EXPECT_EQ(Writes(),
              (Sequence{"BeginTransaction", "CreateSubSys", "CommitTransaction", "BeginTransaction",
                        "CreateSubSys", "CommitTransaction", "initial"}));
}

TEST_F(SubSysGroupSave, ARefusedSubsystemDeletionIsReportedAndTheOthersGoOn) {
    auto group = LoadedGroup();
    suite.businessObjectCounts[8001] = 3;
    group->DeleteSubSystem(8001);
    group->DeleteSubSystem(8003);
    EXPECT_TRUE(group->Save());  // the last one handled, 8003, was deleted
    EXPECT_EQ(Writes(), (Sequence{"GetData", "Show", "GetData", "BeginTransaction",
                                  "DeleteItemIfUnchanged", "CommitTransaction", "initial"}));
    EXPECT_EQ(suite.calls->CallsTo("GetData").at(0).arguments.at(1),
              Variant("select count(*) as FCount from ICClassType where FFunctionID=8001"));
    EXPECT_EQ(suite.messageBox->shown.at(0).prompt,
              "经销商门户 [CHS]子系统下存在有业务对象，不允许删除！");
    EXPECT_EQ(suite.calls->CallsTo("DeleteItemIfUnchanged").at(0).arguments.at(1), Variant(8003));

    // The result reports the last subsystem handled.
    suite.businessObjectCounts[8003] = 1;
    EXPECT_FALSE(group->Save());
}

TEST_F(SubSysGroupSave, AFailedRewriteLeavesTheStoredRowAndTheNextSubsystemIsSaved) {
    auto group = LoadedGroup();
    const SubSystemPtr first = group->Item(8001);
    first->SubSystemID_Old(8001);
    first->NameEN("Dealer portal");
    group->UpdateSubSystem(first);
    group->UpdateSubSystem(group->Item(8004));
    suite.datasUpdate->failures.FailOnce("CreateSubSys");
    suite.calls->Clear();
    EXPECT_TRUE(group->Save());
    EXPECT_EQ(Writes(), (Sequence{"BeginTransaction", "DeleteItemIfUnchanged", "CreateSubSys",
                                  "RollbackTransaction", "BeginTransaction", "CreateSubSys",
                                  "CommitTransaction", "initial"}));
    EXPECT_TRUE(group->LastSaveFailure());
    EXPECT_EQ(suite.datasInfo->subSystems[1].id, 8001);  // restored in place
    EXPECT_EQ(suite.datasInfo->subSystems[1].nameEN, "Dealer's Portal");

    // Without subsystems nothing is written, but the information is read again.
    SubSysGroup empty;
    ASSERT_TRUE(empty.initial(850));
    empty.OptType(enm_OptType_SubSystem);
    suite.calls->Clear();
    EXPECT_FALSE(empty.Save());
    EXPECT_EQ(Writes(), Sequence{"initial"});
}

}  // namespace
}  // namespace quarn::subsysmgr
