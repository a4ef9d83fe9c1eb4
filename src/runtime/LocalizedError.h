#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "quarn/runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// One numbered error of the component: offset above the object-error base, source, and the
/// message in its source language (simplified Chinese; the message is its own resource key).
struct ErrorDefinition {
    int32_t offset;
    std::string_view source;
    std::string_view message;

    int32_t Number() const;
};

/// Raises the error as ComError with its message in the session language.
[[noreturn]] void RaiseLocalized(ModuleState& module, const ErrorDefinition& error);

/// The same, with the reason of `cause` after the message when the cause is an error of the
/// suite's store (a full disk, a read-only file, a server that is gone), so that a save or a
/// load that failed says why, and with the cause's engine code and number. Other causes leave the
/// message as it is.
[[noreturn]] void RaiseLocalized(ModuleState& module, const ErrorDefinition& error,
                                 const std::exception_ptr& cause);

/// Raises the error as ComError with `message`, already in the session language, followed by
/// the store's reason of `cause` as RaiseLocalized adds it.
[[noreturn]] void RaiseWithStoreReason(const ErrorDefinition& error, std::string message,
                                       const std::exception_ptr& cause);

}  // namespace quarn::subsysmgr
