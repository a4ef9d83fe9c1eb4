#include "runtime/ErrorMessage.h"

#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "host/IMessageBox.h"

namespace quarn::subsysmgr {
namespace {

// An error reads as its message, then its number as the command line counts it, in the session
// language; a number from outside the object errors never as a negative number.
TEST(ErrorMessage, ShowsTheMessageThenTheNumberAndNeverARawNegativeNumber) {
    fakes::FakeSuite suite;
    suite.SetContext("Language=EN;");
    suite.resLoader->catalog["EN"]["错误 %1"] = "error %1";
    const ComError stale(ObjectError(1042), "SubSystem.Save", "Someone else changed it.");

    EXPECT_EQ(ErrorMessage(*suite.module, stale), "Someone else changed it.\n(error 1042)");
    EXPECT_EQ(ErrorNumberText(*suite.module, ComError(-2147467259, "Host", "Failed.")),
              "error 0x80004005");
    ShowError(*suite.module, stale, "Not saved.");
    ASSERT_EQ(suite.messageBox->shown.size(), 1u);
    EXPECT_EQ(suite.messageBox->shown[0].prompt,
              "Not saved.\n\nSomeone else changed it.\n(error 1042)");
    EXPECT_EQ(suite.messageBox->shown[0].flags, kMessageBoxWarning);

    // Without its formatter the number is still shown.
    suite.formatter->failures.FailOn("FormatMessage");
    EXPECT_EQ(ErrorNumberText(*suite.module, stale), "error 1042");
}

}  // namespace
}  // namespace quarn::subsysmgr
