#include "suite/store/EngineErrors.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cerrno>
#include <string>

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

TEST(EngineErrors, ARefusedLoginIsToldApartFromAServerThatCannotBeReached) {
    EXPECT_EQ(ClassifyPostgresFailure("28P01", "").messageTemplate, messages::kLoginRefused);
    EXPECT_EQ(ClassifyPostgresFailure("28000", "").messageTemplate, messages::kLoginRefused);
    EXPECT_EQ(ClassifyPostgresFailure("08006", "").messageTemplate, messages::kCannotReach);
    EXPECT_EQ(ClassifyPostgresLoginFailure(false, true).messageTemplate, messages::kLoginRefused);
    EXPECT_EQ(ClassifyPostgresLoginFailure(false, false).messageTemplate, messages::kCannotReach);
    const EngineFailure missing = ClassifyPostgresLoginFailure(true, false);
    EXPECT_NE(missing.messageTemplate, messages::kLoginRefused);
    EXPECT_NE(missing.messageTemplate, messages::kCannotReach);
    for (const EngineFailure& failure : {missing, ClassifyPostgresLoginFailure(false, true),
                                         ClassifyPostgresFailure("28P01", "")}) {
        EXPECT_EQ(failure.error, StoreError::Unavailable);
    }
}

}  // namespace
}  // namespace quarn::suite
