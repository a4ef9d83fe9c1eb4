#include "suite/store/EngineErrors.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {

EngineFailure ClassifyPostgresFailure(std::string_view sqlState, std::string_view constraint) {
    const std::string_view errorClass = sqlState.substr(0, 2);
    if (sqlState == "23505" || sqlState == "23503" || sqlState == "23514" || sqlState == "23502") {
        return {StoreError::Refused, RefusalTemplate(constraint)};
    }
    // A writer chosen to break a deadlock is rolled back like one that waited too long:
    // trying again is the answer to both.
    if (sqlState == "40P01" || sqlState == "40001" || sqlState == "55P03") {
        return {StoreError::Busy, messages::kBusy};
    }
    if (sqlState == "57014") {
        return {StoreError::Busy, "%1上的语句超时，已取消。"};
    }
    if (errorClass == "28") {
        return {StoreError::Unavailable, messages::kLoginRefused};
    }
    if (errorClass == "08" || sqlState == "3D000" || errorClass == "57") {
        return {StoreError::Unavailable, messages::kCannotReach};
    }
    if (errorClass == "53") {
        return {StoreError::DiskFull, messages::kDiskFull};
    }
    if (sqlState == "25006" || sqlState == "42501") {
        return {StoreError::WriteProtected, messages::kWriteProtected};
    }
    return {StoreError::QueryFailed, messages::kStatementFailed};
}

EngineFailure ClassifyPostgresLoginFailure(bool passwordMissing, bool passwordSent) {
    if (passwordMissing) {
        return {StoreError::Unavailable,
                "%1要求密码，但未给出密码（可使用 ~/.pgpass、PGPASSWORD 或服务文件）。"};
    }
    // The server asked for the password and then refused: a wrong password or user, or a
    // user the server does not let in. libpq keeps the refusal's SQLSTATE to itself.
    if (passwordSent) {
        return {StoreError::Unavailable, messages::kLoginRefused};
    }
    return {StoreError::Unavailable, messages::kCannotReach};
}

}  // namespace quarn::suite
