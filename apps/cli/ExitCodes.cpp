#include "ExitCodes.h"

#include <algorithm>

#include "CliErrors.h"
#include "exchange/ExchangeErrors.h"
#include "model/ModelErrors.h"
#include "suite/store/StoreErrors.h"

namespace quarn::subsysmgr::cli {

namespace {

using suite::StoreError;

int StoreExitCode(StoreError error) {
    switch (error) {
        case StoreError::Unavailable:
        case StoreError::Busy:
            return kExitTryAgain;
        case StoreError::Refused:
        case StoreError::ReadOnly:
        case StoreError::NotOurs:
        case StoreError::Stale:
        case StoreError::Unprotected:  // refused until repair restores the protections
            return kExitDataError;
        case StoreError::InvalidLocation:
            return kExitUsage;
        case StoreError::NoDatabase:
            return kExitNoInput;
        case StoreError::Exists:
        case StoreError::CannotCreate:
            return kExitCannotCreate;
        case StoreError::DiskFull:
            return kExitIoError;
        case StoreError::WriteProtected:
        case StoreError::LoginRefused:
            return kExitNoPermission;
        case StoreError::NewerSchema:  // needs a newer program, not other input
        case StoreError::QueryFailed:
            return kExitError;
    }
    return kExitError;
}

bool IsStoreNumber(int32_t number) {
    return std::ranges::any_of(suite::kStoreErrors, [number](StoreError error) {
        return suite::ErrorNumber(error) == number;
    });
}

template <class Definitions>
bool IsOneOf(int32_t number, const Definitions& definitions) {
    return std::ranges::any_of(definitions, [number](const ErrorDefinition& definition) {
        return definition.Number() == number;
    });
}

bool IsOneOf(int32_t number, std::initializer_list<ErrorDefinition> definitions) {
    return IsOneOf<std::initializer_list<ErrorDefinition>>(number, definitions);
}

}  // namespace

int ExitCodeOf(const ComError& error) {
    if (IsStoreNumber(error.Number())) {
        return StoreExitCode(static_cast<StoreError>(error.Offset()));
    }
    if (IsStoreNumber(error.CauseNumber())) {
        return StoreExitCode(static_cast<StoreError>(error.CauseNumber() - kObjectErrorBase));
    }
    const int32_t number = error.Number();
    if (IsOneOf(number, {errors::kCommandLine, errors::kDatabaseOption, errors::kNotATime,
                         errors::kUnknownCommand, errors::kNoCommand})) {
        return kExitUsage;
    }
    if (IsOneOf(number, {exchange::errors::kFileUnreadable})) {
        return kExitNoInput;
    }
    if (IsOneOf(number, {exchange::errors::kFileUnwritable})) {
        return kExitCannotCreate;
    }
    // Loading that failed for no reason of the store's, and a revert of an altered change,
    // need a closer look rather than other input.
    if (IsOneOf(number, {errors::kUnexpected, subsysmgr::errors::kGroupLoadFailed,
                         subsysmgr::errors::kFillFailed, subsysmgr::errors::kChangeSealBroken})) {
        return kExitError;
    }
    // The rest of the tool's and the exchange's errors are refusals of what was asked or given:
    // an unknown item, a refused deletion, an import file that is not right. So are the business
    // objects' rules.
    const bool refusal =
        IsOneOf(number, exchange::errors::kAll) || IsOneOf(number, subsysmgr::errors::kAll);
    return refusal ? kExitDataError : kExitError;
}

}  // namespace quarn::subsysmgr::cli
