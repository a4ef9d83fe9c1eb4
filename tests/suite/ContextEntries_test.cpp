#include "suite/ContextEntries.h"

#include <gtest/gtest.h>

namespace quarn::suite {
namespace {

TEST(ContextEntries, KeepTheLetterCaseOfValuesAndFindWholeKeysOnly) {
    const std::string context =
        "Language=EN;XDatabase=sqlite:/x.db;database=postgresql:host=/tmp dbname=Suite;";
    EXPECT_EQ(ContextEntry(context, "Database"), "postgresql:host=/tmp dbname=Suite");
    EXPECT_EQ(ContextEntry(context, "LogFile"), std::nullopt);
    EXPECT_EQ(ContextEntry("LogFile=", "logfile"), "");
}

}  // namespace
}  // namespace quarn::suite
