#include <gtest/gtest.h>

#include "host/ProgIds.h"
#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupListing = ModelFixture;

TEST_F(SubSysGroupListing, HandsOutCopiesOfEveryGroupInDisplayOrderWithFiveKeys) {
    suite.Uninstall(progid::kLog);  // the result does not depend on logging
    SubSysGroup group;
    const VectorPtr list = group.GetAllSubSysGroup();
    ASSERT_EQ(list->Count(), 3u);  // FIndex 10, 20, 30
    EXPECT_EQ(Describe(list->Item(0)),
              "ID=850;Name=定制扩展;FTopClassName_EN=Custom;FTopClassName_CHT=定制擴展;"
              "FShowSysType=1;");
    EXPECT_EQ(list->Item(1).AsDictionary()->Item("ID"), Variant(5));
    EXPECT_EQ(list->Item(2).AsDictionary()->Item("ID"), Variant(851));
    EXPECT_EQ(suite.calls->CallsTo("GetData").at(0).arguments,
              (std::vector<Variant>{"DB=demo;Language=CHS;",
                                    "SELECT * FROM t_DataFlowTopClass Order By FIndex asc"}));

    list->Item(0).AsDictionary()->Item("ID", 1);
    list->Add("extra");
    const VectorPtr second = group.GetAllSubSysGroup();
    EXPECT_EQ(second->Count(), 3u);
    EXPECT_EQ(second->Item(0).AsDictionary()->Item("ID"), Variant(850));
    EXPECT_NE(second->Item(0).AsDictionary(), second->Item(1).AsDictionary());
    EXPECT_EQ(suite.calls->CountOf("LogStart"), 0u);
}

TEST_F(SubSysGroupListing, AnEmptyOrClosedResultIsAnEmptyListAndAnUnreadableOneAFailure) {
    SubSysGroup group;
    suite.datasInfo->groups.clear();
    EXPECT_EQ(group.GetAllSubSysGroup()->Count(), 0u);
    suite.classInfo->answerGetData = [](const std::string&) {
        auto closed = Recordset::Create({"FTopClassID"}, {{1}});
        closed->Close();
        return closed;
    };
    EXPECT_EQ(group.GetAllSubSysGroup()->Count(), 0u);

    suite.classInfo->answerGetData = [](const std::string&) {
        return Recordset::Create({"FTopClassID"}, {{1}});  // columns missing
    };
    EXPECT_EQ(ErrorOf([&] { group.GetAllSubSysGroup(); }).Offset(), 1004);
    suite.Uninstall(progid::kClassInfo);
    EXPECT_EQ(ErrorOf([&] { group.GetAllSubSysGroup(); }).Offset(), 1004);
}

TEST_F(SubSysGroupListing, IsBracketedInTheLogWhichEndsBeforeTheErrorIsRaised) {
    SubSysGroup group;
    suite.calls->Clear();
    group.GetAllSubSysGroup();
    EXPECT_EQ(suite.calls->CallsTo("LogStart").at(0).arguments.at(0),
              Variant("QuarnClassSubSysMgr.SubSysGroup.GetAllSubSysGroup"));
    EXPECT_EQ(suite.calls->CountOf("LogEnd"), 1u);

    suite.classInfo->failures.FailOn("GetData");
    suite.calls->Clear();
    const ComError error = ErrorOf([&] { group.GetAllSubSysGroup(); });
    EXPECT_EQ(error.Source(), "SubSysGroup.GetAllSubSysGroup");
    EXPECT_EQ(error.Description(), "[CHS]取子系统分组信息失败。");
    const auto sequence = suite.calls->Sequence();
    EXPECT_LT(std::find(sequence.begin(), sequence.end(), "Log.LogEnd"),
              std::find(sequence.begin(), sequence.end(), "ResLoader.LoadString"));
}

}  // namespace
}  // namespace quarn::subsysmgr
