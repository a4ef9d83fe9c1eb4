#include "suite/store/DatabaseName.h"

#include <gtest/gtest.h>

#include <string>

#include "suite/SuiteSession.h"
#include "suite/store/StoreErrors.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {
namespace {

std::string Localized(const StoreFailure& failure, const std::string& language) {
    return SuiteSession(StoreLocation{}, language).Localized(failure).Description();
}

// One store serves every session of a process: the failure it raises names the database in
// parts, and each session words them in its own language.
TEST(DatabaseName, AFailureNamesTheDatabaseInTheLanguageOfTheSessionThatReportsIt) {
    const DatabaseName server{
        .postgres = true, .database = "suite", .host = "db1", .port = "5432", .user = "me"};
    const StoreFailure failure(StoreError::Unavailable, "Database", messages::kCannotReach, server);

    EXPECT_EQ(Localized(failure, "EN"),
              "Cannot reach the PostgreSQL database suite on db1:5432 as me.");
    EXPECT_EQ(Localized(failure, "CHS"),
              "无法连接PostgreSQL 数据库 suite，位于 db1:5432，用户 me。");
    EXPECT_EQ(Localized(failure, "CHT"),
              "無法連線PostgreSQL 資料庫 suite，位於 db1:5432，使用者 me。");
}

TEST(DatabaseName, PartsTheConnectionLeavesOutAreLeftOutAndNamesAreNotReadAsPlaceholders) {
    const SuiteSession english(StoreLocation{}, "EN");
    const auto text = [&](const DatabaseName& name) { return name.Text(english.Localizer()); };

    EXPECT_EQ(text({.postgres = true}), "PostgreSQL database");
    EXPECT_EQ(text({.postgres = true, .port = "6543"}), "PostgreSQL database on port 6543");
    EXPECT_EQ(text({.postgres = true, .host = "db1", .user = "%2"}),
              "PostgreSQL database on db1 as %2");
    EXPECT_EQ(text({.file = "/data/100%1 %2.sqlite"}), "SQLite database /data/100%1 %2.sqlite");
}

}  // namespace
}  // namespace quarn::suite
