#include "runtime/LocalizedError.h"

#include <string>
#include <utility>

#include "foundation/ComError.h"
#include "runtime/LocalText.h"

namespace quarn::subsysmgr {

int32_t ErrorDefinition::Number() const {
    return ObjectError(offset);
}

namespace {

// The suite's store numbers its errors from 2201 on, below the next component's 2300.
bool IsStoreError(const ComError& error) {
    return error.Offset() > 2200 && error.Offset() < 2300;
}

}  // namespace

void RaiseLocalized(ModuleState& module, const ErrorDefinition& error) {
    throw ComError(error.Number(), std::string(error.source), GetLocalText(module, error.message));
}

void RaiseLocalized(ModuleState& module, const ErrorDefinition& error,
                    const std::exception_ptr& cause) {
    RaiseWithStoreReason(error, GetLocalText(module, error.message), cause);
}

void RaiseWithStoreReason(const ErrorDefinition& error, std::string message,
                          const std::exception_ptr& cause) {
    std::string engineCode;
    int32_t causeNumber = 0;
    try {
        if (cause) {
            std::rethrow_exception(cause);
        }
    } catch (const ComError& reason) {
        if (IsStoreError(reason)) {
            message += " " + reason.Description();
            engineCode = reason.EngineCode();
            causeNumber = reason.Number();
        }
    } catch (...) {
        // Only the store's reasons are worth showing to the user.
    }
    throw ComError(error.Number(), std::string(error.source), std::move(message),
                   std::move(engineCode), causeNumber);
}

}  // namespace quarn::subsysmgr
