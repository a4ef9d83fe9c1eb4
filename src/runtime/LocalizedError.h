#pragma once

#include <cstdint>
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

}  // namespace quarn::subsysmgr
