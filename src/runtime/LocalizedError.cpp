#include "runtime/LocalizedError.h"

#include <string>

#include "foundation/ComError.h"
#include "runtime/LocalText.h"

namespace quarn::subsysmgr {

int32_t ErrorDefinition::Number() const {
    return ObjectError(offset);
}

void RaiseLocalized(ModuleState& module, const ErrorDefinition& error) {
    throw ComError(error.Number(), std::string(error.source), GetLocalText(module, error.message));
}

}  // namespace quarn::subsysmgr
