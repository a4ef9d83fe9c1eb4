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
        return {StoreError::LoginRefused, messages::kLoginRefused};
    }
    if (sqlState == "3D000") {
        return {StoreError::NoDatabase, messages::kNoDatabase};
    }
    if (sqlState == "53300") {
        return {StoreError::Busy, messages::kNoFreeConnection};
    }
    if (errorClass == "08" || errorClass == "57") {
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

EngineFailure ClassifyPostgresLoginFailure(const LoginFailure& login) {
    if (login.passwordMissing) {
        return {StoreError::LoginRefused, messages::kPasswordMissing};
    }
    if (login.sqlState == "28000" && login.onlyOverSsl) {
        return {StoreError::LoginRefused, messages::kSslRequired};
    }
    // A role without the right to connect is refused at login like one the rules keep out.
    if (login.sqlState == "28000" || login.sqlState == "42501") {
        return {StoreError::LoginRefused, messages::kRoleNotAllowed};
    }
    if (login.sqlState == "28P01") {
        return {StoreError::LoginRefused, messages::kPasswordWrong};
    }
    if (!login.sqlState.empty()) {
        return ClassifyPostgresFailure(login.sqlState, {});
    }
    // No answer of the server: nothing listens, or a server that answered would not speak SSL
    // to a connection that must.
    const bool sslRequired = login.sslMode == "require" || login.sslMode == "verify-ca" ||
                             login.sslMode == "verify-full";
    if (login.serverAnswered && sslRequired) {
        return {StoreError::LoginRefused, messages::kSslUnavailable};
    }
    return {StoreError::Unavailable, messages::kCannotReach};
}

}  // namespace quarn::suite
