#include "runtime/DiagnosticLog.h"

#include <string>

#include "host/ProgIds.h"

namespace quarn::subsysmgr {

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
        if (!module.logInitialised) {
            EnsureLogObject(module);
            module.logInitialised = true;
        }
        if (IsLogEnabled(module)) {
            return module.log->LogStart(std::string(procedure)).ToInt32();
        }
    } catch (...) {
        // The log never disturbs the logged operation.
    }
    return 0;
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
