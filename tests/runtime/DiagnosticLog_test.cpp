#include "runtime/DiagnosticLog.h"

#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "foundation/ComError.h"
#include "host/ProgIds.h"

namespace quarn::subsysmgr {
namespace {

TEST(DiagnosticLog, RecordsStartAndEndWithTheHandle) {
    fakes::FakeSuite suite;
    const int32_t handle = LogProcStart(*suite.module, "A.B.C");
    EXPECT_NE(handle, 0);
    LogProcEnd(*suite.module, handle);
    const auto starts = suite.calls->CallsTo("LogStart");
    const auto ends = suite.calls->CallsTo("LogEnd");
    ASSERT_EQ(starts.size(), 1u);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(starts[0].arguments.at(0), Variant("A.B.C"));
    EXPECT_EQ(ends[0].arguments, (std::vector<Variant>{handle, int32_t{0}}));
}

TEST(DiagnosticLog, WithoutALogComponentNothingIsLoggedAndCreationIsTriedOnce) {
    fakes::FakeSuite suite;
    suite.Uninstall(progid::kLog);
    EXPECT_EQ(LogProcStart(*suite.module, "A"), 0);
    LogProcEnd(*suite.module, 0);
    suite.registry->Register(progid::kLog, [&] { return suite.log; });
    EXPECT_EQ(LogProcStart(*suite.module, "A"), 0);
    EXPECT_EQ(suite.Creations(progid::kLog), 0);
}

TEST(DiagnosticLog, ADisabledLogIsReleasedAndNeverCreatedAgain) {
    fakes::FakeSuite suite;
    suite.log->enabled = false;
    EXPECT_EQ(LogProcStart(*suite.module, "A"), 0);
    EXPECT_EQ(suite.module->log, nullptr);
    suite.log->enabled = true;
    EXPECT_EQ(LogProcStart(*suite.module, "A"), 0);
    EXPECT_EQ(suite.Creations(progid::kLog), 1);
    EXPECT_EQ(suite.calls->CountOf("LogStart"), 0u);
}

TEST(DiagnosticLog, FailuresOfTheLogNeverReachTheCaller) {
    fakes::FakeSuite suite;
    suite.log->failures.FailOn("LogStart");
    EXPECT_EQ(LogProcStart(*suite.module, "A"), 0);

    suite.log->failures.FailOn("LogEnd");
    try {
        try {
            throw ComError(ObjectError(1004), "SubSysGroup.GetAllSubSysGroup", "failed");
        } catch (const ComError&) {
            LogProcEnd(*suite.module, 1);
            throw;
        }
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), ObjectError(1004));
        EXPECT_EQ(error.Source(), "SubSysGroup.GetAllSubSysGroup");
    }
}

}  // namespace
}  // namespace quarn::subsysmgr
