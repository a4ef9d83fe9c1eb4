#pragma once

#include <string>

#include "foundation/ComError.h"
#include "runtime/ModuleState.h"

/// How an error reads wherever a person reads it: the editors' and the designer's message boxes
/// and the designer's own panels.
namespace quarn::subsysmgr {

/// "error 1042" in the session language: the number as the command line prints it, counted from
/// the object-error base, so that a person finds it in the documented tables. A number outside
/// that range reads in hexadecimal ("error 0x80004005"), never as a negative number.
std::string ErrorNumberText(ModuleState& module, const ComError& error);

/// "<description>\n(error 1042)": the error's message, with the store's reason that the
/// description carries when the store failed, then its number.
std::string ErrorMessage(ModuleState& module, const ComError& error);

/// Shows ErrorMessage as a warning in the platform's message box, after `lead` and an empty line
/// when `lead` is given. Passes on failures of the message box.
void ShowError(ModuleState& module, const ComError& error, const std::string& lead = {});

}  // namespace quarn::subsysmgr
