#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/ModuleState.h"

/// Start and end records of selected operations, and notes, in the suite's diagnostic log.
/// Logging is optional: without a log component, or once it reports logging disabled, nothing is
/// recorded. No failure leaves these functions.
namespace quarn::subsysmgr {

/// Creates the log object on the first call only; returns the record handle, 0 when nothing was
/// logged.
int32_t LogProcStart(ModuleState& module, std::string_view procedure);

/// Ends the record of a handle. Safe inside a catch block: the caller's error is untouched.
void LogProcEnd(ModuleState& module, int32_t handle, int32_t value = 0);

/// Records a line of text; creates the log object on the first use like LogProcStart.
void LogNote(ModuleState& module, std::string_view text);

/// True while a log object is held and reports logging enabled; a disabled log object is dropped
/// for good. Passes on failures of the log object.
bool IsLogEnabled(ModuleState& module);

/// Creates the log object when none is held; a failed creation leaves none.
void EnsureLogObject(ModuleState& module);

}  // namespace quarn::subsysmgr
