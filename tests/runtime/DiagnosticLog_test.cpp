#include "runtime/DiagnosticLog.h"

#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "foundation/ComError.h"
#include "host/ProgIds.h"

namespace quarn::subsysmgr {
namespace {

TEST(DiagnosticLog, RecordsStartAndEndWithTheHandleAndNeverFailsTheCaller) {
    fakes::FakeSuite suite;
    const int32_t handle = LogProcStart(*suite.module, "A.B.C");
    EXPECT_NE(handle, 0);
    LogProcEnd(*suite.module, handle);
    EXPECT_EQ(suite.calls->CallsTo("LogStart").at(0).arguments.at(0), Variant("A.B.C"));
    EXPECT_EQ(suite.calls->CallsTo("LogEnd").at(0).arguments,
              (std::vector<Variant>{handle, int32_t{0}}));

    suite.log->failures.FailOn("LogStart");
    EXPECT_EQ(LogProcStart(*suite.module, "A"), 0);
    suite.log->failures.FailOn("LogEnd");
    EXPECT_NO_THROW(LogProcEnd(*suite.module, 1));
}

TEST(DiagnosticLog, AMissingOrDisabledLogIsTriedOnceAndNeverAgain) {
    fakes::FakeSuite missing;
    missing.Uninstall(progid::kLog);
    EXPECT_EQ(LogProcStart(*missing.module, "A"), 0);
    LogProcEnd(*missing.module, 0);
    missing.registry->Register(progid::kLog, [&] { return missing.log; });
    EXPECT_EQ(LogProcStart(*missing.module, "A"), 0);
    EXPECT_EQ(missing.Creations(progid::kLog), 0);

    fakes::FakeSuite disabled;
    disabled.log->enabled = false;
    EXPECT_EQ(LogProcStart(*disabled.module, "A"), 0);
    EXPECT_EQ(disabled.module->log, nullptr);  // released
    disabled.log->enabled = true;
    EXPECT_EQ(LogProcStart(*disabled.module, "A"), 0);
    EXPECT_EQ(disabled.Creations(progid::kLog), 1);
    EXPECT_EQ(disabled.calls->CountOf("LogStart"), 0u);
}

}  // namespace
}  // namespace quarn::subsysmgr
