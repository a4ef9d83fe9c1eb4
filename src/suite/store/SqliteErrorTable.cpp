#include <sqlite3.h>

#include <cerrno>

#include "suite/store/EngineErrors.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {

EngineFailure ClassifySqliteFailure(int extendedResultCode, int systemErrno) {
    const int primary = extendedResultCode & 0xff;
    // SQLite reports a write that found no space as an I/O error, and a -wal or -shm file that
    // could not be made as a file it cannot open or a database it may only read.
    const bool noSpace = systemErrno == ENOSPC || systemErrno == EDQUOT;
    if (noSpace &&
        (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY)) {
        return {StoreError::DiskFull, messages::kDiskFull};
    }
    switch (extendedResultCode) {
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return {StoreError::Refused, RefusalTemplate(kForeignKeyOfSubsystemGroup)};
        case SQLITE_AUTH:
            return {StoreError::ReadOnly, messages::kFreeQueryRefused};
        default:
            break;
    }
    switch (primary) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return {StoreError::Busy, messages::kBusy};
        case SQLITE_CONSTRAINT:
            return {StoreError::Refused, RefusalTemplate({})};
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
            return {StoreError::NotOurs, messages::kNotOurs};
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
        case SQLITE_NOTFOUND:
            return {StoreError::Unavailable, "无法打开%1。"};
        case SQLITE_FULL:
            return {StoreError::DiskFull, messages::kDiskFull};
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return {StoreError::WriteProtected, messages::kWriteProtected};
        default:
            return {StoreError::QueryFailed, messages::kStatementFailed};
    }
}

}  // namespace quarn::suite
