#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {
namespace {

TEST(GetPropValue, MatchesOnlyAWholeKeyAtTheStartOfAnEntry) {
    fakes::FakeSuite suite;
    suite.SetContext("XLanguage=EN;Language=CHT;");
    EXPECT_EQ(GetPropValue(*suite.module, "Language"), "CHT");
}

}  // namespace
}  // namespace quarn::subsysmgr
