#include <gtest/gtest.h>

#include "host/ProgIds.h"
#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupLoading = ModelFixture;

TEST_F(SubSysGroupLoading, LoadsAGroupAndClearsTheRecordWhenTheIdentifierIsMissing) {
    SubSysGroup group;  // a new object makes the shared information drop its cache
    EXPECT_EQ(suite.calls->CountOf("ClearCache"), 1u);
    EXPECT_EQ(group.OptType(), enm_OptType_Group);

    ASSERT_TRUE(group.initial(5));
    EXPECT_EQ(Describe(group.DictName()), "Local=财务会计;CHS=财务会计;CHT=財務會計;EN=Finance;");
    EXPECT_EQ(group.Index(), 20);
    EXPECT_TRUE(group.Visible() && group.WebVisible());  // FShowSysType 3
    EXPECT_EQ(group.FitAccountType(), ",1,2,");
    // Web visibility is bit two of FShowSysType, visibility FVisible alone.
    ASSERT_TRUE(group.initial(850));  // FShowSysType 1, FVisible 1, FAcctType null
    EXPECT_TRUE(group.Visible() && !group.WebVisible());
    EXPECT_EQ(group.FitAccountType(), "");
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

}  // namespace
}  // namespace quarn::subsysmgr
