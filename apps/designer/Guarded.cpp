#include "Guarded.h"

#include "foundation/ComError.h"
#include "runtime/ErrorMessage.h"
#include "runtime/ModuleState.h"

namespace quarn::designer {

bool Guarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const ComError& error) {
        subsysmgr::ShowError(*subsysmgr::ModuleState::Current(), error);
    }
    return false;
}

}  // namespace quarn::designer
