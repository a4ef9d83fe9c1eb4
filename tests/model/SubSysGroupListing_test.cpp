#include <gtest/gtest.h>

#include "host/ProgIds.h"
#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupListing = ModelFixture;

// The order and the stored values the store tests check; here: the keys, and that the listing
// does not need the log.
TEST_F(SubSysGroupListing, GivesEveryGroupWithFiveKeysAlsoWithoutALog) {
    suite.Uninstall(progid::kLog);
    const VectorPtr list = SubSysGroup().GetAllSubSysGroup();
    ASSERT_EQ(list->Count(), 3u);
    EXPECT_EQ(Describe(list->Item(0)),
              "ID=850;Name=定制扩展;FTopClassName_EN=Custom;FTopClassName_CHT=定制擴展;"
              "FShowSysType=1;");
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

TEST_F(SubSysGroupListing, IsBracketedInTheLogAlsoWhenItFails) {
    SubSysGroup group;
    suite.calls->Clear();
    group.GetAllSubSysGroup();
    EXPECT_EQ(suite.calls->CallsTo("LogStart").at(0).arguments.at(0),
              Variant("QuarnClassSubSysMgr.SubSysGroup.GetAllSubSysGroup"));
    EXPECT_EQ(suite.calls->CountOf("LogEnd"), 1u);

    suite.classInfo->failures.FailOn("GetData");
    suite.calls->Clear();
    EXPECT_EQ(ErrorOf([&] { group.GetAllSubSysGroup(); }).Source(),
              "SubSysGroup.GetAllSubSysGroup");
    EXPECT_EQ(suite.calls->CountOf("LogEnd"), 1u);
}

}  // namespace
}  // namespace quarn::subsysmgr
