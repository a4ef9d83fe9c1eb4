#include "model/SubSysGroup.h"

#include <gtest/gtest.h>

#include "host/ProgIds.h"
#include "model/ModelFixture.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupLoading = ModelFixture;
using SubSysGroupListing = ModelFixture;

// The fields every group of the demo data has the golden cases of the command-line tool show
// (its export and show read each group this way); here: the names, an invisible group, and a
// missing one.
TEST_F(SubSysGroupLoading, LoadsAGroupAndClearsTheRecordWhenTheIdentifierIsMissing) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(5));
    EXPECT_EQ(Describe(group.DictName()), "Local=财务会计;CHS=财务会计;CHT=財務會計;EN=Finance;");
    EXPECT_EQ(group.Index(), 20);
    ASSERT_TRUE(group.initial(851));  // FShowSysType 2, FVisible 0
    EXPECT_TRUE(!group.Visible() && group.WebVisible());

    EXPECT_FALSE(group.initial(777));
    EXPECT_EQ(group.Id(), 0);
    EXPECT_EQ(group.Index(), 0);
    EXPECT_FALSE(group.Visible() || group.WebVisible());
    EXPECT_EQ(group.FitAccountType(), "");
    EXPECT_EQ(group.DictName(), nullptr);
    EXPECT_FALSE(group.IsNew());
}

TEST_F(SubSysGroupLoading, TheLocalNameFollowsTheSessionLanguageAndNameTakesItUnchanged) {
    suite.SetContext("Language=CHT;");
    SubSysGroup group;
    ASSERT_TRUE(group.initial(5));
    EXPECT_EQ(group.DictName()->Item("Local"), Variant("財務會計"));
    EXPECT_EQ(group.Name(), "財務會計");
    suite.SetContext("DB=demo;");
    EXPECT_EQ(group.Name(), "");  // no simplified-Chinese default for the getter
}

TEST_F(SubSysGroupLoading, AnyFailureRaisesTheLoadErrorInTheSessionLanguage) {
    suite.SetContext("Language=EN;");
    suite.resLoader->catalog["EN"]["Get System Group Failed."] = "Cannot read the group.";
    SubSysGroup group;
    suite.datasInfo->failures.FailOn("GetTopClass_All");
    const ComError error = ErrorOf([&] { group.initial(5); });
    EXPECT_EQ(error.Number(), -2147220500);
    EXPECT_EQ(error.Source(), "SubSysGroup.initial");
    EXPECT_EQ(error.Description(), "Cannot read the group.");

    fakes::FakeSuite withoutInformation;  // installed as the current module while it lives
    withoutInformation.Uninstall(progid::kDatasInfo);
    EXPECT_THROW(SubSysGroup{}, ComError);
}

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
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails);
        if (fails) {
            suite.classInfo->failures.FailOn("GetData");
        }
        suite.calls->Clear();
        EXPECT_EQ(ErrorOf([&] { group.GetAllSubSysGroup(); }).Source(),
                  fails ? "SubSysGroup.GetAllSubSysGroup" : "");
        EXPECT_EQ(suite.calls->CountOf("LogStart"), 1u);
        EXPECT_EQ(suite.calls->CountOf("LogEnd"), 1u);
    }
}

}  // namespace
}  // namespace quarn::subsysmgr
