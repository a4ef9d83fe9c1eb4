#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "host/ProgIds.h"
#include "runtime/FormFont.h"
#include "runtime/HelpKey.h"

namespace quarn::subsysmgr {
namespace {

TEST(HandleHelpKey, OnlyF1ShowsHelpAndCountsAsHandledEvenWithoutHelp) {
    fakes::FakeSuite suite;
    EXPECT_FALSE(HandleHelpKey(*suite.module, 113, kGroupEditorHelpTopic));
    EXPECT_EQ(suite.Creations(progid::kChmHelp), 0);

    EXPECT_TRUE(HandleHelpKey(*suite.module, kHelpKeyCode, kSubSystemEditorHelpTopic));
    const auto calls = suite.calls->CallsTo("ShowHELP");
    ASSERT_EQ(calls.size(), 1u);
    const std::vector<Variant> expected{int32_t{580042}, int16_t{0}, "",
                                        int32_t{0},      "",         int32_t{0}};
    EXPECT_EQ(calls[0].arguments, expected);

    suite.help->failures.FailOn("ShowHELP");
    EXPECT_TRUE(HandleHelpKey(*suite.module, kHelpKeyCode, kGroupEditorHelpTopic));

    fakes::FakeSuite withoutHelp;
    withoutHelp.Uninstall(progid::kChmHelp);
    EXPECT_TRUE(HandleHelpKey(*withoutHelp.module, kHelpKeyCode, kGroupEditorHelpTopic));
}

class RecordingDialog : public IFontTarget {
  public:
    void SetFormFont(const std::string& family, int) override { font = family; }
    std::string font = "design font";
};

TEST(ApplyFormFont, PassesTheSessionLanguageAndNeverFails) {
    fakes::FakeSuite suite;
    suite.SetContext("Language=chs;");
    RecordingDialog dialog;
    ApplyFormFont(*suite.module, dialog);
    EXPECT_EQ(dialog.font, "Noto Sans CJK");
    ASSERT_EQ(suite.calls->CallsTo("SetFrmFont").size(), 1u);
    EXPECT_EQ(suite.calls->CallsTo("SetFrmFont")[0].arguments.at(0), Variant("CHS"));

    suite.frmResLoader->failures.FailOn("SetFrmFont");
    RecordingDialog untouched;
    EXPECT_NO_THROW(ApplyFormFont(*suite.module, untouched));
    EXPECT_EQ(untouched.font, "design font");
}

}  // namespace
}  // namespace quarn::subsysmgr
