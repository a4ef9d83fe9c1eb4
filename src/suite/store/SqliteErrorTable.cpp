#include <sqlite3.h>

#include <cerrno>
#include <iterator>
#include <string>

#include "suite/store/EngineErrors.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {

namespace {

// SQLite's primary result codes by number, which SQLite never changes.
constexpr std::string_view kPrimaryNames[] = {
    "SQLITE_OK",       "SQLITE_ERROR",   "SQLITE_INTERNAL", "SQLITE_PERM",     "SQLITE_ABORT",
    "SQLITE_BUSY",     "SQLITE_LOCKED",  "SQLITE_NOMEM",    "SQLITE_READONLY", "SQLITE_INTERRUPT",
    "SQLITE_IOERR",    "SQLITE_CORRUPT", "SQLITE_NOTFOUND", "SQLITE_FULL",     "SQLITE_CANTOPEN",
    "SQLITE_PROTOCOL", "SQLITE_EMPTY",   "SQLITE_SCHEMA",   "SQLITE_TOOBIG",   "SQLITE_CONSTRAINT",
    "SQLITE_MISMATCH", "SQLITE_MISUSE",  "SQLITE_NOLFS",    "SQLITE_AUTH",     "SQLITE_FORMAT",
    "SQLITE_RANGE",    "SQLITE_NOTADB",  "SQLITE_NOTICE",   "SQLITE_WARNING"};
static_assert(std::size(kPrimaryNames) == SQLITE_WARNING + 1);

// The extended codes of a refusal, which say what kind of rule refused.
struct ConstraintName {
    int code;
    std::string_view name;
};
constexpr ConstraintName kConstraintNames[] = {
    {SQLITE_CONSTRAINT_CHECK, "SQLITE_CONSTRAINT_CHECK"},
    {SQLITE_CONSTRAINT_COMMITHOOK, "SQLITE_CONSTRAINT_COMMITHOOK"},
    {SQLITE_CONSTRAINT_FOREIGNKEY, "SQLITE_CONSTRAINT_FOREIGNKEY"},
    {SQLITE_CONSTRAINT_FUNCTION, "SQLITE_CONSTRAINT_FUNCTION"},
    {SQLITE_CONSTRAINT_NOTNULL, "SQLITE_CONSTRAINT_NOTNULL"},
    {SQLITE_CONSTRAINT_PRIMARYKEY, "SQLITE_CONSTRAINT_PRIMARYKEY"},
    {SQLITE_CONSTRAINT_TRIGGER, "SQLITE_CONSTRAINT_TRIGGER"},
    {SQLITE_CONSTRAINT_UNIQUE, "SQLITE_CONSTRAINT_UNIQUE"},
    {SQLITE_CONSTRAINT_VTAB, "SQLITE_CONSTRAINT_VTAB"},
    {SQLITE_CONSTRAINT_ROWID, "SQLITE_CONSTRAINT_ROWID"},
    {SQLITE_CONSTRAINT_PINNED, "SQLITE_CONSTRAINT_PINNED"},
    {SQLITE_CONSTRAINT_DATATYPE, "SQLITE_CONSTRAINT_DATATYPE"},
};

std::string_view NameOf(int extendedResultCode) {
    for (const ConstraintName& known : kConstraintNames) {
        if (known.code == extendedResultCode) {
            return known.name;
        }
    }
    const auto primary = static_cast<std::size_t>(extendedResultCode & 0xff);
    return primary < std::size(kPrimaryNames) ? kPrimaryNames[primary] : "SQLITE";
}

}  // namespace

std::string SqliteEngineCode(int extendedResultCode) {
    return std::string(NameOf(extendedResultCode)) + " (" + std::to_string(extendedResultCode) +
           ")";
}

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
