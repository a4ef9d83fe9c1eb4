#include <sqlite3.h>

#include "suite/store/EngineErrors.h"

namespace quarn::suite {

EngineFailure ClassifySqliteFailure(int extendedResultCode) {
    switch (extendedResultCode) {
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return {StoreError::Refused, RefusalTemplate(kForeignKeyOfSubsystemGroup)};
        case SQLITE_AUTH:
            return {StoreError::ReadOnly, "自由查询只能读取套件的表，此语句被拒绝（%1）。"};
        default:
            break;
    }
    switch (extendedResultCode & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return {StoreError::Busy, "%1正忙：其他用户正在写入，请稍后重试。"};
        case SQLITE_CONSTRAINT:
            return {StoreError::Refused, RefusalTemplate({})};
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
            return {StoreError::NotOurs, "%1不是本程序创建的套件数据库，未做任何更改。"};
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
        case SQLITE_NOTFOUND:
            return {StoreError::Unavailable, "无法打开%1。"};
        case SQLITE_FULL:
            return {StoreError::DiskFull, "%1所在的磁盘已满，未写入任何数据。"};
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return {StoreError::WriteProtected, "%1是只读的，未写入任何数据。"};
        default:
            return {StoreError::QueryFailed, "%1未能执行语句。"};
    }
}

}  // namespace quarn::suite
