#include "runtime/DiagnosticLog.h"

#include <string>

#include "host/ProgIds.h"

namespace quarn::subsysmgr {

namespace {

// The log object once its first use created it; none when logging is off.
ILog* UsableLog(ModuleState& module) {
    if (!module.logInitialised) {
        EnsureLogObject(module);
        module.logInitialised = true;
    }
    return IsLogEnabled(module) ? module.log.get() : nullptr;
}

}  // namespace

void EnsureLogObject(ModuleState& module) {
    if (module.log) {
        return;
    }
    try {
        module.log = module.registry->Create<ILog>(progid::kLog);
    } catch (...) {
        // Logging is optional.
    }
}

bool IsLogEnabled(ModuleState& module) {
    if (!module.log) {
        return false;
    }
    if (!module.log->IsEnabled()) {
        module.log.reset();
        return false;
    }
    return true;
}

int32_t LogProcStart(ModuleState& module, std::string_view procedure) {
    try {
        if (ILog* log = UsableLog(module)) {
            return log->LogStart(std::string(procedure)).ToInt32();
        }
    } catch (...) {
        // The log never disturbs the logged operation.
    }
    return 0;
}

void LogNote(ModuleState& module, std::string_view text) {
    try {
        if (ILog* log = UsableLog(module)) {
            log->LogNote(std::string(text));
        }
    } catch (...) {
        // The log never disturbs the logged operation.
    }
}

void LogProcEnd(ModuleState& module, int32_t handle, int32_t value) {
    try {
        if (IsLogEnabled(module)) {
            module.log->LogEnd(handle, value);
        }
    } catch (...) {
        // The log never disturbs the logged operation.
    }
}

}  // namespace quarn::subsysmgr
