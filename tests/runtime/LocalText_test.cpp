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

TEST_F(LocalTextTest, KeepsTheBlanksAroundTheLocalizedCoreAndLeavesBlankTextAlone) {
    EXPECT_EQ(GetLocalText(*suite.module, ""), "");
    EXPECT_EQ(GetLocalText(*suite.module, "   "), "");
    EXPECT_EQ(suite.Creations(progid::kResLoader), 0);

    EXPECT_EQ(GetLocalText(*suite.module, "  保存(&S) "), "  &Save ");
    EXPECT_EQ(suite.resLoader->ResFileBaseName(), "QuarnDesign");
    EXPECT_EQ(suite.resLoader->LanguageID(), "EN");
}

TEST_F(LocalTextTest, WithoutAWorkingLoaderTheTextComesBackUnchangedAndCreationIsRetried) {
    suite.Uninstall(progid::kResLoader);
    EXPECT_EQ(GetLocalText(*suite.module, " 保存(&S)  "), " 保存(&S)  ");
    EXPECT_EQ(suite.module->resLoader, nullptr);

    suite.registry->Register(progid::kResLoader, [&] { return suite.resLoader; });
    EXPECT_EQ(GetLocalText(*suite.module, "保存(&S)"), "&Save");

    suite.resLoader->failures.FailOn("LoadString");
    EXPECT_EQ(GetLocalText(*suite.module, " 保存(&S)"), " 保存(&S)");
    EXPECT_NO_THROW(ShowMessage(*suite.module, "prompt", kMessageBoxWarning));
}

// The editors' tests see the default title localized.
TEST_F(LocalTextTest, ShowMessageLocalizesOnlyTheDefaultTitle) {
    ShowMessage(*suite.module, "prompt", kMessageBoxWarning, "Larkin提示 ");
    EXPECT_EQ(suite.messageBox->shown.at(0).title, "Larkin提示 ");
}

TEST_F(LocalTextTest, FormatLocalTextFillsThePlaceholderOfTheLocalizedTemplate) {
    suite.resLoader->catalog["EN"]["不允许包含字符 %1 !"] = "must not contain %1 !";
    EXPECT_EQ(FormatLocalText(*suite.module, "不允许包含字符 %1 !", {"_"}), "must not contain _ !");

    suite.formatter->failures.FailOn("FormatMessage");
    EXPECT_THROW(FormatLocalText(*suite.module, "不允许包含字符 %1 !", {"_"}), ComError);
}

}  // namespace
}  // namespace quarn::subsysmgr
