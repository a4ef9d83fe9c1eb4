#include "ExitCodes.h"

#include <gtest/gtest.h>

#include <string>

#include "CliErrors.h"
#include "exchange/ExchangeErrors.h"
#include "model/ModelErrors.h"
#include "suite/store/StoreErrors.h"

namespace quarn::subsysmgr::cli {
namespace {

using suite::StoreError;

ComError Raised(const ErrorDefinition& definition) {
    return ComError(definition.Number(), std::string(definition.source), "text");
}

ComError Raised(StoreError error) {
    return ComError(suite::ErrorNumber(error), "Database", "text");
}

// A business object's error raised in place of the store's.
ComError InPlaceOf(const ErrorDefinition& definition, StoreError cause) {
    return ComError(definition.Number(), std::string(definition.source), "text", "",
                    suite::ErrorNumber(cause));
}

TEST(ExitCodes, AScriptLearnsWhetherToRetryFixOrLookCloser) {
    struct Case {
        ComError error;
        int code;
    };
    const Case cases[] = {
        {Raised(StoreError::Busy), kExitTryAgain},
        {Raised(StoreError::Unavailable), kExitTryAgain},
        {Raised(StoreError::Refused), kExitDataError},
        {Raised(StoreError::Stale), kExitDataError},
        {Raised(subsysmgr::errors::kForbiddenInGroupName), kExitDataError},
        {Raised(subsysmgr::errors::kOutOfRange), kExitDataError},
        {Raised(exchange::errors::kUnknownSubSystem), kExitDataError},
        {Raised(exchange::errors::kNotJson), kExitDataError},
        {Raised(StoreError::NoDatabase), kExitNoInput},
        {Raised(exchange::errors::kFileUnreadable), kExitNoInput},
        {Raised(exchange::errors::kFileUnwritable), kExitCannotCreate},
        {Raised(StoreError::Exists), kExitCannotCreate},
        {Raised(StoreError::CannotCreate), kExitCannotCreate},
        {Raised(StoreError::DiskFull), kExitIoError},
        {Raised(StoreError::LoginRefused), kExitNoPermission},
        {Raised(StoreError::WriteProtected), kExitNoPermission},
        {Raised(StoreError::InvalidLocation), kExitUsage},
        {Raised(errors::kUnknownCommand), kExitUsage},
        {Raised(errors::kUnexpected), kExitError},
        {Raised(subsysmgr::errors::kChangeSealBroken), kExitError},
        {Raised(StoreError::QueryFailed), kExitError},
        // A save that failed says what the store met, not what the save is called.
        {InPlaceOf(subsysmgr::errors::kSubSystemNotSaved, StoreError::Busy), kExitTryAgain},
        {InPlaceOf(subsysmgr::errors::kSubSystemNotSaved, StoreError::WriteProtected),
         kExitNoPermission},
        {InPlaceOf(subsysmgr::errors::kGroupLoadFailed, StoreError::Unavailable), kExitTryAgain},
        {Raised(subsysmgr::errors::kGroupLoadFailed), kExitError},
        // Numbers that are no error of this system.
        {ComError(42, "elsewhere", "text"), kExitError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.error.Offset()) + " caused by " +
                     std::to_string(c.error.CauseNumber()));
        EXPECT_EQ(ExitCodeOf(c.error), c.code);
    }
}

}  // namespace
}  // namespace quarn::subsysmgr::cli
