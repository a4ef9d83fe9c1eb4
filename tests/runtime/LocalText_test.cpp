#include "runtime/LocalText.h"

#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "foundation/ComError.h"
#include "host/ProgIds.h"
#include "runtime/MessageBox.h"

namespace quarn::subsysmgr {
namespace {

class LocalTextTest : public ::testing::Test {
  protected:
    LocalTextTest() {
        suite.SetContext("Language=EN;");
        suite.resLoader->catalog["EN"]["保存(&S)"] = "&Save";
        suite.resLoader->catalog["EN"]["Larkin提示"] = "Larkin Notice";
    }
    fakes::FakeSuite suite;
};

TEST_F(LocalTextTest, KeepsTheBlanksAroundTheLocalizedCore) {
    EXPECT_EQ(GetLocalText(*suite.module, "  保存(&S) "), "  &Save ");
    EXPECT_EQ(suite.resLoader->ResFileBaseName(), "QuarnDesign");
    EXPECT_EQ(suite.resLoader->LanguageID(), "EN");
    // Properties are set only when they differ.
    GetLocalText(*suite.module, "保存(&S)");
    EXPECT_EQ(suite.calls->CountOf("ResFileBaseName"), 1u);
    EXPECT_EQ(suite.calls->CountOf("LanguageID"), 1u);
}

TEST_F(LocalTextTest, BlankTextGivesEmptyTextWithoutTouchingTheLoader) {
    EXPECT_EQ(GetLocalText(*suite.module, ""), "");
    EXPECT_EQ(GetLocalText(*suite.module, "   "), "");
    EXPECT_EQ(suite.Creations(progid::kResLoader), 0);
}

TEST_F(LocalTextTest, WithoutAWorkingLoaderTheTextComesBackUnchangedAndCreationIsRetried) {
    suite.Uninstall(progid::kResLoader);
    EXPECT_EQ(GetLocalText(*suite.module, " 保存(&S)  "), " 保存(&S)  ");
    EXPECT_EQ(suite.module->resLoader, nullptr);

    suite.registry->Register(progid::kResLoader, [&] { return suite.resLoader; });
    EXPECT_EQ(GetLocalText(*suite.module, "保存(&S)"), "&Save");

    suite.resLoader->failures.FailOn("LoadString");
    EXPECT_EQ(GetLocalText(*suite.module, " 保存(&S)"), " 保存(&S)");
}

TEST_F(LocalTextTest, ACallersErrorSurvivesShowMessageUntouched) {
    try {
        try {
            throw ComError(ObjectError(1012), "SubSysGroup.Save", "exists");
        } catch (const ComError& pending) {
            suite.resLoader->failures.FailOn("LoadString");  // the lookup fails inside
            ShowMessage(*suite.module, pending.Description(), kMessageBoxWarning);
            EXPECT_EQ(pending.Number(), ObjectError(1012));
            throw;
        }
    } catch (const ComError& rethrown) {
        EXPECT_EQ(rethrown.Number(), ObjectError(1012));
        EXPECT_EQ(rethrown.Source(), "SubSysGroup.Save");
        EXPECT_EQ(rethrown.Description(), "exists");
    }
}

TEST_F(LocalTextTest, ShowMessageLocalizesOnlyTheDefaultTitle) {
    ShowMessage(*suite.module, "prompt", kMessageBoxWarning);
    ShowMessage(*suite.module, "prompt", kMessageBoxWarning, "Larkin提示 ");
    ASSERT_EQ(suite.messageBox->shown.size(), 2u);
    EXPECT_EQ(suite.messageBox->shown[0].title, "Larkin Notice");
    EXPECT_EQ(suite.messageBox->shown[0].flags, 48);
    EXPECT_EQ(suite.messageBox->shown[0].prompt, "prompt");
    EXPECT_EQ(suite.messageBox->shown[1].title, "Larkin提示 ");
}

TEST_F(LocalTextTest, FormatLocalTextFillsThePlaceholderOfTheLocalizedTemplate) {
    suite.resLoader->catalog["EN"]["不允许包含字符 %1 !"] = "must not contain %1 !";
    EXPECT_EQ(FormatLocalText(*suite.module, "不允许包含字符 %1 !", {"_"}), "must not contain _ !");

    suite.formatter->failures.FailOn("FormatMessage");
    EXPECT_THROW(FormatLocalText(*suite.module, "不允许包含字符 %1 !", {"_"}), ComError);
}

}  // namespace
}  // namespace quarn::subsysmgr
