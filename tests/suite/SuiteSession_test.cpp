#include "suite/SuiteSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "suite/store/EngineErrors.h"

namespace quarn::suite {
namespace {

namespace fs = std::filesystem;

TEST(SuiteSession, AStoreFailureKeepsTheEngineCodeInItsLanguageAndInTheDiagnosticLog) {
    const fs::path log = fs::temp_directory_path() / ("quarn-session-" + std::to_string(getpid()));
    SuiteSession session(StoreLocation{}, "EN");
    session.Context("LogFile=" + log.string() + ";");

    const ComError error = session.Localized(
        StoreFailure(StoreError::Refused, "Database", RefusalTemplate("uq_subsystem_name_en"),
                     "demo.sqlite", {}, "SQLITE_CONSTRAINT_UNIQUE (2067)"));
    EXPECT_EQ(error.EngineCode(), "SQLITE_CONSTRAINT_UNIQUE (2067)");

    std::stringstream written;
    written << std::ifstream(log).rdbuf();
    fs::remove(log);
    EXPECT_THAT(written.str(),
                ::testing::HasSubstr("store failure 2204 Database engine SQLITE_CONSTRAINT_UNIQUE "
                                     "(2067): " +
                                     error.Description()));
}

}  // namespace
}  // namespace quarn::suite
