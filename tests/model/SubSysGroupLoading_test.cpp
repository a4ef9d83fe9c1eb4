#include <gtest/gtest.h>

#include "foundation/ComError.h"
#include "host/ProgIds.h"
#include "model/GroupFixture.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupLoading = GroupFixture;

TEST_F(SubSysGroupLoading, ANewObjectIsEmptyAndMakesTheSharedInformationDropItsCache) {
    SubSysGroup group;
    EXPECT_EQ(group.OptType(), enm_OptType_Group);
    EXPECT_EQ(group.Id(), 0);
    EXPECT_FALSE(group.IsNew());
    EXPECT_EQ(group.DictName(), nullptr);
    EXPECT_EQ(suite.calls->Sequence(),
              (std::vector<std::string>{"DatasInfo.IsBroxQuery", "DatasInfo.ClearCache"}));
    EXPECT_EQ(group.Name(), "");
}

TEST_F(SubSysGroupLoading, LoadsEveryFieldOfAnExistingGroup) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(5));
    EXPECT_EQ(group.Id(), 5);
    EXPECT_EQ(group.NameCHS(), "财务会计");
    EXPECT_EQ(group.NameCHT(), "財務會計");
    EXPECT_EQ(group.NameEN(), "Finance");
    EXPECT_EQ(group.DictName()->Item("Local"), Variant("财务会计"));
    EXPECT_EQ(group.Index(), 20);
    EXPECT_TRUE(group.Visible());
    EXPECT_TRUE(group.WebVisible());  // FShowSysType 3
    EXPECT_EQ(group.FitAccountType(), ",1,2,");
    EXPECT_FALSE(group.IsNew());
}

TEST_F(SubSysGroupLoading, WebVisibilityComesFromBitTwoAndVisibilityFromFVisibleAlone) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));  // FShowSysType 1, FVisible 1, FAcctType null
    EXPECT_TRUE(group.Visible());
    EXPECT_FALSE(group.WebVisible());
    EXPECT_EQ(group.FitAccountType(), "");

    ASSERT_TRUE(group.initial(851));  // FShowSysType 2, FVisible 0
    EXPECT_FALSE(group.Visible());
    EXPECT_TRUE(group.WebVisible());
}

TEST_F(SubSysGroupLoading, AMissingIdentifierClearsTheRecordAndReturnsFalse) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(5));
    EXPECT_FALSE(group.initial(777));
    EXPECT_EQ(group.Id(), 0);
    EXPECT_EQ(group.Index(), 0);
    EXPECT_FALSE(group.Visible());
    EXPECT_FALSE(group.WebVisible());
    EXPECT_EQ(group.FitAccountType(), "");
    EXPECT_EQ(group.DictName(), nullptr);
    EXPECT_EQ(group.Name(), "");
}

TEST_F(SubSysGroupLoading, ATraditionalChineseSessionLoadsTheLocalName) {
    suite.SetContext("Language=CHT;");
    SubSysGroup group;
    ASSERT_TRUE(group.initial(5));
    EXPECT_EQ(group.DictName()->Item("Local"), Variant("財務會計"));
    EXPECT_EQ(group.Name(), "財務會計");
}

TEST_F(SubSysGroupLoading, NameUsesTheContextLanguageUnchangedEvenWhenEmpty) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(5));
    suite.SetContext("DB=demo;");
    EXPECT_EQ(group.Name(), "");  // no CHS substitution for the getter
    EXPECT_EQ(group.NameCHS(), "财务会计");
}

TEST_F(SubSysGroupLoading, AnyFailureRaisesTheLoadErrorInTheSessionLanguage) {
    suite.SetContext("Language=EN;");
    suite.resLoader->catalog["EN"]["Get System Group Failed."] = "Cannot read the group.";
    SubSysGroup group;
    suite.datasInfo->failures.FailOn("GetTopClass_All");
    try {
        group.initial(5);
        FAIL() << "expected an error";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), -2147220500);
        EXPECT_EQ(error.Source(), "SubSysGroup.initial");
        EXPECT_EQ(error.Description(), "Cannot read the group.");
    }
}

TEST_F(SubSysGroupLoading, WithoutTheInformationComponentNoGroupCanBeCreated) {
    suite.Uninstall(progid::kDatasInfo);
    EXPECT_THROW(SubSysGroup{}, ComError);
}

}  // namespace
}  // namespace quarn::subsysmgr
