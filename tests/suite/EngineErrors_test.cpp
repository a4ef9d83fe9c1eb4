#include "suite/store/EngineErrors.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cerrno>
#include <string>

#include "suite/store/PostgresLogin.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {
namespace {

TEST(EngineErrors, NoSpaceIsADiskFullWhateverSqliteCallsItAndOnlyThen) {
    struct Case {
        int code;
        int systemErrno;
        StoreError error;
    };
    const Case cases[] = {
        {SQLITE_FULL, 0, StoreError::DiskFull},
        // The shared memory or a page that found no room; a quota counts as no room.
        {SQLITE_IOERR_SHMSIZE, ENOSPC, StoreError::DiskFull},
        {SQLITE_IOERR_WRITE, EDQUOT, StoreError::DiskFull},
        {SQLITE_IOERR_FSYNC, EIO, StoreError::Unavailable},
        // A -wal or -shm file that could not be made.
        {SQLITE_CANTOPEN, ENOSPC, StoreError::DiskFull},
        {SQLITE_READONLY_CANTINIT, ENOSPC, StoreError::DiskFull},
        {SQLITE_CANTOPEN, EACCES, StoreError::Unavailable},
        {SQLITE_READONLY, 0, StoreError::WriteProtected},
        {SQLITE_READONLY_DIRECTORY, EACCES, StoreError::WriteProtected},
        // Codes that have nothing to do with the disk keep their meaning.
        {SQLITE_CONSTRAINT_UNIQUE, ENOSPC, StoreError::Refused},
        {SQLITE_BUSY, ENOSPC, StoreError::Busy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " errno " + std::to_string(c.systemErrno));
        const EngineFailure failure = ClassifySqliteFailure(c.code, c.systemErrno);
        EXPECT_EQ(failure.error, c.error);
        if (c.error == StoreError::DiskFull) {
            EXPECT_EQ(failure.messageTemplate, messages::kDiskFull);
        }
    }
}

TEST(EngineErrors, SqlitesCodeIsKeptWithTheNameOfARefusalsRuleOrElseOfItsPrimaryCode) {
    EXPECT_EQ(SqliteEngineCode(SQLITE_CONSTRAINT_NOTNULL), "SQLITE_CONSTRAINT_NOTNULL (1299)");
    EXPECT_EQ(SqliteEngineCode(SQLITE_IOERR_SHMSIZE), "SQLITE_IOERR (4874)");
    EXPECT_EQ(SqliteEngineCode(SQLITE_BUSY), "SQLITE_BUSY (5)");
}

TEST(EngineErrors, EachReasonALoginFailsForHasItsErrorAndMessage) {
    struct Case {
        LoginFailure login;
        StoreError error;
        std::string_view messageTemplate;
    };
    const Case cases[] = {
        // Nothing answered, whatever the sslmode.
        {{"", false, false, "require"}, StoreError::Unavailable, messages::kCannotReach},
        {{"", false, true, "prefer"}, StoreError::Unavailable, messages::kCannotReach},
        {{"3D000", false, true, "prefer"}, StoreError::NoDatabase, messages::kNoDatabase},
        {{"", true, true, "prefer"}, StoreError::LoginRefused, messages::kPasswordMissing},
        {{"28P01", false, true, "prefer"}, StoreError::LoginRefused, messages::kPasswordWrong},
        {{"28000", false, true, "prefer"}, StoreError::LoginRefused, messages::kRoleNotAllowed},
        {{"42501", false, true, "prefer"}, StoreError::LoginRefused, messages::kRoleNotAllowed},
        {{"28000", false, true, "disable", true}, StoreError::LoginRefused, messages::kSslRequired},
        // A server that answered but would not speak SSL to a connection that must.
        {{"", false, true, "verify-full"}, StoreError::LoginRefused, messages::kSslUnavailable},
        {{"53300", false, true, "prefer"}, StoreError::Busy, messages::kNoFreeConnection},
        {{"57P03", false, true, "prefer"}, StoreError::Unavailable, messages::kCannotReach},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.login.sqlState) + " " + std::string(c.login.sslMode));
        const EngineFailure failure = ClassifyPostgresLoginFailure(c.login);
        EXPECT_EQ(failure.error, c.error);
        EXPECT_EQ(failure.messageTemplate, c.messageTemplate);
    }
}

TEST(EngineErrors, TheSqlStateOfALoginIsReadAfterTheSeverityInAnyLanguage) {
    EXPECT_EQ(SqlStateOfLoginMessage("connection to server at \"127.0.0.1\", port 5432 failed: "
                                     "FATAL:  28P01\n"),
              "28P01");
    EXPECT_EQ(SqlStateOfLoginMessage("connection to server at \"::1\" failed: 致命错误:  3D000\n"),
              "3D000");
    // libpq's own words carry none, even where a word of five capitals ends a line.
    EXPECT_EQ(SqlStateOfLoginMessage("connection to server at \"127.0.0.1\", port 1 failed: "
                                     "Connection refused\n\tIs the server running? CHECK\n"),
              "");
    EXPECT_EQ(SqlStateOfLoginMessage(""), "");
}

}  // namespace
}  // namespace quarn::suite
