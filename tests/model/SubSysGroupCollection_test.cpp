#include <gtest/gtest.h>

#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupCollection = ModelFixture;

std::vector<int32_t> Ids(const SubSystemCollectionPtr& collection) {
    std::vector<int32_t> ids;
    for (const SubSystemPtr& subSystem : *collection) {
        ids.push_back(subSystem->Id());
    }
    return ids;
}

std::string AccountTypeQuery(int32_t id) {
    return "Select FAcctType From t_DataFlowSubSystem Where FSubSysID=" + std::to_string(id);
}

// Which rows a fill reads the store tests check too; here: what it sets beside them.
TEST_F(SubSysGroupCollection, OnlyACheckedFillSetsThePreviousValuesAndItNeverRefusesARowAsItself) {
    SubSysGroup unchecked;
    ASSERT_TRUE(unchecked.initial(850));
    const SubSystemPtr current = unchecked.GetSubSystem(8005, false);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(unchecked.CurrentSubSystem(), current);
    EXPECT_EQ(current->SubSystemID_Old(), 0);

    for (const char* language : {"CHS", "CHT", "EN"}) {
        SCOPED_TRACE(language);
        suite.SetContext(std::string("Language=") + language + ";");
        SubSysGroup group;
        ASSERT_TRUE(group.initial(850));

        const SubSystemPtr found = group.GetSubSystem(8005);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->SubSystemID_Old(), 8005);
        EXPECT_EQ(found->SubSystemNameCHS_Old() + found->SubSystemNameCHT_Old() +
                      found->SubSystemNameEN_Old(),
                  "供应商评估供應商評估Supplier Rating");

        ASSERT_EQ(group.GetSubSystem(0), nullptr);
        EXPECT_EQ(Ids(group.SubSystems()), (std::vector<int32_t>{8001, 8002, 8003, 8004, 8005}));
    }
}

TEST_F(SubSysGroupCollection, ANegativeIdentifierReadsTheWholeGroupInRowOrder) {
    std::swap(suite.datasInfo->subSystems[1], suite.datasInfo->subSystems[3]);
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    const SubSystemPtr current = SubSystem::Create();
    group.CurrentSubSystem(current);
    EXPECT_EQ(group.GetSubSystem(-1), nullptr);
    EXPECT_EQ(Ids(group.SubSystems()), (std::vector<int32_t>{8003, 8002, 8001, 8004, 8005}));
    EXPECT_EQ(group.CurrentSubSystem(), current);

    // A group without subsystems gets an empty collection.
    group.CancelCheck(true);
    group.Id(852);
    EXPECT_EQ(group.GetSubSystem(0), nullptr);
    EXPECT_EQ(group.SubSystems()->Count(), 0u);
}

// When the last subsystem a fill read has no account types, they are asked for once more by
// the identifier the fill was asked for, and taken from a single row only.
TEST_F(SubSysGroupCollection, TheLastSubsystemReadWithoutAccountTypesAsksForThemAgain) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    std::vector<std::string> asked;
    std::vector<RecordTable::Row> answer{{",7,"}};
    suite.classInfo->answerGetData = [&](const std::string& sql) {
        asked.push_back(sql);
        return Recordset::Create({"FAcctType"}, answer);
    };
    EXPECT_EQ(group.GetSubSystem(8005, false)->FitAccountType(), ",7,");
    group.GetSubSystem(8004, false);  // it has account types
    group.GetSubSystem(0, false);     // the whole group: the last one read, 8005, has none
    group.GetSubSystem(-1, false);
    EXPECT_EQ(asked, (std::vector<std::string>{AccountTypeQuery(8005), AccountTypeQuery(0),
                                               AccountTypeQuery(-1)}));
    answer.push_back({",8,"});
    EXPECT_EQ(group.GetSubSystem(8005, false)->FitAccountType(), "");
}

// The other fields of a row, and the rows our store gives, the tree reader's test and the
// command-line tool's golden cases check; a host's data-flow information may give nulls too.
TEST_F(SubSysGroupCollection, ConvertsNullsWhileFilling) {
    auto& row = suite.datasInfo->subSystems[2];  // 8002
    row.nameIsNull = true;
    row.nameCHT.reset();
    row.nameEN.reset();
    row.subId.reset();
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    const SubSystemPtr s = group.GetSubSystem(8002, false);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->NameCHS() + "|" + s->NameCHT() + "|" + s->NameEN() + "|" + s->Number(),
              "设备巡检|||");
}

// Another program may have stored bytes that are no UTF-8; the fill takes them as they are, while
// the same name given as input is still refused.
TEST_F(SubSysGroupCollection, FillsStoredNamesWhateverBytesTheyHoldAndAFailedFillReportsNothing) {
    suite.datasInfo->subSystems[3].nameCHS =
        "\xE8\xFF"
        "A";  // 8003
    suite.datasInfo->subSystems[3].nameEN = "\xFF";
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    EXPECT_EQ(group.GetSubSystem(0, false), nullptr);
    EXPECT_EQ(Ids(group.SubSystems()), (std::vector<int32_t>{8001, 8002, 8003, 8004, 8005}));
    for (const bool checked : {false, true}) {
        SCOPED_TRACE(checked);
        const SubSystemPtr broken = group.GetSubSystem(8003, checked);
        ASSERT_NE(broken, nullptr);
        EXPECT_EQ(broken->NameCHS(),
                  "\xE8\xFF"
                  "A");
        EXPECT_EQ(broken->NameEN(), "\xFF");
        EXPECT_EQ(OffsetOf([&] { broken->NameCHT("\xFE"); }), 1040);
    }

    suite.classInfo->failures.FailOn("GetData");  // the account-type fix-up of 8005 fails
    const SubSystemPtr found = group.GetSubSystem(8005, false);
    EXPECT_NE(found, nullptr);
    EXPECT_EQ(found, group.Item(8005));

    suite.datasInfo->failures.FailOn("GetSubSystem_All");
    EXPECT_EQ(group.GetSubSystem(8001, false), nullptr);
    EXPECT_EQ(group.SubSystems()->Count(), 0u);
    EXPECT_EQ(group.CurrentSubSystem(), nullptr);
}

TEST_F(SubSysGroupCollection, UpdateReplacesBySubsystemIdentifierAndMovesToTheEnd) {
    SubSysGroup group;
    const auto fresh = SubSystem::Create();
    fresh->CancelCheck(true);
    fresh->Id(8001);
    group.UpdateSubSystem(fresh);  // before any fill: the collection is created
    EXPECT_EQ(Ids(group.SubSystems()), std::vector<int32_t>{8001});

    ASSERT_TRUE(group.initial(850));
    group.GetSubSystem(-1);
    EXPECT_FALSE(group.UpdateSubSystem(fresh));
    EXPECT_EQ(Ids(group.SubSystems()), (std::vector<int32_t>{8002, 8003, 8004, 8005, 8001}));
    EXPECT_EQ(group.Item(8001), fresh);
    EXPECT_TRUE(fresh->Modified());

    group.AddSubSystem(group.Item(8003));
    EXPECT_EQ(Ids(group.SubSystems()), (std::vector<int32_t>{8002, 8004, 8005, 8001, 8003}));
    EXPECT_THROW(group.AddSubSystem(nullptr), ComError);
}

TEST_F(SubSysGroupCollection, MarksLeaveTheCollectionWholeAndRefusedOnesChangeNothing) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    EXPECT_FALSE(group.DeleteSubSystem(8003));  // no collection yet
    group.GetSubSystem(-1);
    EXPECT_TRUE(group.DeleteSubSystem(8003));
    EXPECT_TRUE(group.Item(8003)->Deleted());
    EXPECT_FALSE(group.DeleteSubSystem(8999));

    const auto delivered = SubSystem::Create();
    delivered->CancelCheck(true);
    delivered->Id(50);
    EXPECT_THROW(group.UpdateSubSystem(delivered), ComError);
    EXPECT_THROW(group.DeleteSubSystem(8002), ComError);  // it has sub-functions
    EXPECT_FALSE(group.Item(8002)->Deleted());
    EXPECT_EQ(group.SubSystems()->Count(), 5u);
    EXPECT_EQ(group.Item(50), nullptr);
}

}  // namespace
}  // namespace quarn::subsysmgr
