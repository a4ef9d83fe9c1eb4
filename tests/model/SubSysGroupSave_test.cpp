#include <gtest/gtest.h>

#include "fakes/CallLog.h"
#include "foundation/ComError.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "model/SubSystemFixture.h"

namespace quarn::subsysmgr {
namespace {

class SubSysGroupSave : public SubSystemFixture {
  protected:
    // The calls that reach the update component, the class information and the message box,
    // and the final re-read, in order.
    std::vector<std::string> Writes() const {
        std::vector<std::string> result;
        for (const std::string& call : suite.calls->Sequence()) {
            if (call.rfind("DatasUpdate.", 0) == 0 || call == "ClassInfo.GetData" ||
                call == "MessageBox.Show" || call == "DatasInfo.initial") {
                result.push_back(call.substr(call.find('.') + 1));
            }
        }
        return result;
    }

    static std::vector<std::string> Keys(const Variant& record) {
        std::vector<std::string> keys;
        for (const auto& [key, value] : record.AsDictionary()->Entries()) {
            keys.push_back(key);
        }
        return keys;
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

using Sequence = std::vector<std::string>;

TEST_F(SubSysGroupSave, ANewGroupIsCreatedOnceWithItsWriteRecord) {
    SubSysGroup group;
    group.Id(860);
    group.NameCHS("新分组");
    group.NameCHT("新分組");
    group.NameEN("New");
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
    EXPECT_EQ(Keys(create.at(1)),
              (Sequence{"FTopClassID", "FTopClassName", "FTopClassNameCHT", "FTopClassNameEN",
                        "FVisible", "FAcctType", "FShowSysType"}));
    const auto& record = *create.at(1).AsDictionary();
    EXPECT_EQ(record.Item("FTopClassID"), Variant(860));
    EXPECT_EQ(record.Item("FTopClassName"), Variant("新分组"));
    EXPECT_EQ(record.Item("FTopClassNameCHT"), Variant("新分組"));
    EXPECT_EQ(record.Item("FTopClassNameEN"), Variant("New"));
    EXPECT_EQ(record.Item("FVisible"), Variant(true));
    EXPECT_EQ(record.Item("FAcctType"), Variant(",1,3,"));
    EXPECT_EQ(record.Item("FShowSysType"), Variant(3));
}

TEST_F(SubSysGroupSave, AChangedGroupIsDeletedAndCreatedAgainInOneTransaction) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.Modified(true);
    suite.calls->Clear();
    EXPECT_TRUE(group.Save());
    EXPECT_EQ(Writes(), (Sequence{"BeginTransaction", "DeleteItem", "CreateTopClass",
                                  "CommitTransaction", "initial"}));
    EXPECT_EQ(suite.calls->CallsTo("DeleteItem").at(0).arguments,
              (std::vector<Variant>{int16_t{1000}, int32_t{850}, true}));
}

TEST_F(SubSysGroupSave, AGroupWithSubsystemsIsNotDeleted) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.Deleted(true);
    suite.calls->Clear();
    EXPECT_FALSE(group.Save());
    EXPECT_EQ(Writes(), (Sequence{"GetData", "Show", "initial"}));
    EXPECT_EQ(suite.calls->CallsTo("GetData").at(0).arguments.at(1),
              Variant("select count(*) as FCount from t_DataFlowSubSystem where FTopClassID=850"));
    ASSERT_EQ(suite.messageBox->shown.size(), 1u);
    EXPECT_EQ(suite.messageBox->shown[0].prompt, "[CHS]系统分组下有子系统，不允许删除！");
    EXPECT_EQ(suite.messageBox->shown[0].flags, 48);
    EXPECT_EQ(suite.messageBox->shown[0].title, "[CHS]Larkin提示");
}

TEST_F(SubSysGroupSave, AnEmptyGroupMarkedDeletedAndModifiedIsRewritten) {
    suite.datasInfo->groups.push_back({852, "试点", "試點", "Pilot", 40, true, 1, ",1,"});
    SubSysGroup group;
    ASSERT_TRUE(group.initial(852));
    group.Deleted(true);
    group.Modified(true);
    suite.calls->Clear();
    EXPECT_TRUE(group.Save());
    EXPECT_EQ(Writes(), (Sequence{"GetData", "BeginTransaction", "DeleteItem", "CreateTopClass",
                                  "CommitTransaction", "initial"}));

    SubSysGroup unchanged;
    ASSERT_TRUE(unchanged.initial(852));
    suite.calls->Clear();
    EXPECT_FALSE(unchanged.Save());
    EXPECT_EQ(Writes(), Sequence{"initial"});
}

TEST_F(SubSysGroupSave, AFailedGroupRewriteRollsBackAndRaises) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.NameEN("Custom extensions");
    group.Modified(true);
    suite.datasUpdate->failures.FailOn("CreateTopClass");
    suite.calls->Clear();
    try {
        group.Save();
        FAIL() << "expected the update component's error";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), fakes::kInjectedFailure);
    }
    EXPECT_EQ(Writes(), (Sequence{"BeginTransaction", "DeleteItem", "CreateTopClass",
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
    EXPECT_EQ(Writes(), (Sequence{"BeginTransaction", "DeleteItem", "CreateSubSys",
                                  "CommitTransaction", "initial"}));
    EXPECT_EQ(suite.calls->CallsTo("DeleteItem").at(0).arguments,
              (std::vector<Variant>{int32_t{100000}, int32_t{8003}, true}));
    const auto create = suite.calls->CallsTo("CreateSubSys").at(0).arguments;
    EXPECT_EQ(create.at(0), Variant(850));
    EXPECT_EQ(create.at(1), Variant(3));
    EXPECT_EQ(Keys(create.at(2)),
              (Sequence{"FSubSysID", "FSysName", "FSysNameCHT", "FSysNameEN", "FClassName",
                        "FSubID", "FVisible", "FAcctType", "FShowSysType", "FIndex"}));
    const auto& record = *create.at(2).AsDictionary();
    EXPECT_EQ(record.Item("FSubSysID"), Variant(8007));
    EXPECT_EQ(record.Item("FSysName"), Variant("门店运营"));
    EXPECT_EQ(record.Item("FSysNameCHT"), Variant("門店運營"));
    EXPECT_EQ(record.Item("FSysNameEN"), Variant("Stores"));
    EXPECT_EQ(record.Item("FClassName"), Variant("QuarnBroxActive.Application"));
    EXPECT_EQ(record.Item("FSubID"), Variant("s8003"));
    EXPECT_EQ(record.Item("FVisible"), Variant(false));
    EXPECT_EQ(record.Item("FAcctType"), Variant(",1,2,"));
    EXPECT_EQ(record.Item("FShowSysType"), Variant(2));
    EXPECT_EQ(record.Item("FIndex"), Variant(3));
}

TEST_F(SubSysGroupSave, ShowSysTypeCombinesBothVisibilities) {
    for (const auto& [visible, web, expected] :
         {std::tuple{false, false, 0}, {true, false, 1}, {false, true, 2}, {true, true, 3}}) {
        SCOPED_TRACE(expected);
        auto group = LoadedGroup();
        const SubSystemPtr s = group->Item(8004);
        s->Visible(visible);
        s->WebVisible(web);
        group->UpdateSubSystem(s);
        group->Save();
        EXPECT_EQ(suite.calls->CallsTo("CreateSubSys")
                      .at(0)
                      .arguments.at(2)
                      .AsDictionary()
                      ->Item("FShowSysType"),
                  Variant(expected));
    }
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
    EXPECT_EQ(Writes(), (Sequence{"GetData", "Show", "GetData", "BeginTransaction", "DeleteItem",
                                  "CommitTransaction", "initial"}));
    EXPECT_EQ(suite.calls->CallsTo("GetData").at(0).arguments.at(1),
              Variant("select count(*) as FCount from ICClassType where FFunctionID=8001"));
    EXPECT_EQ(suite.messageBox->shown.at(0).prompt,
              "经销商门户 [CHS]子系统下存在有业务对象，不允许删除！");
    EXPECT_EQ(suite.calls->CallsTo("DeleteItem").at(0).arguments.at(1), Variant(8003));

    // The result reports the last subsystem handled.
    suite.businessObjectCounts[8003] = 1;
    suite.calls->Clear();
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
    EXPECT_EQ(Writes(),
              (Sequence{"BeginTransaction", "DeleteItem", "CreateSubSys", "RollbackTransaction",
                        "BeginTransaction", "CreateSubSys", "CommitTransaction", "initial"}));
    const auto stored =
        std::find_if(suite.datasInfo->subSystems.begin(), suite.datasInfo->subSystems.end(),
                     [](const fakes::SubSystemRow& row) { return row.id == 8001; });
    ASSERT_NE(stored, suite.datasInfo->subSystems.end());
    EXPECT_EQ(stored->nameEN, "Dealer's Portal");
}

TEST_F(SubSysGroupSave, WithoutSubsystemsNothingIsWrittenButTheInformationIsReread) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.OptType(enm_OptType_SubSystem);
    suite.calls->Clear();
    EXPECT_FALSE(group.Save());
    EXPECT_EQ(Writes(), Sequence{"initial"});
}

}  // namespace
}  // namespace quarn::subsysmgr
