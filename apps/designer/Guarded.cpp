#include "Guarded.h"

#include "ErrorNumberText.h"
#include "foundation/ComError.h"
#include "host/IMessageBox.h"
#include "runtime/MessageBox.h"
#include "runtime/ModuleState.h"

namespace quarn::designer {

bool Guarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const ComError& error) {
        subsysmgr::ShowMessage(*subsysmgr::ModuleState::Current(), ErrorMessage(error),
                               kMessageBoxWarning);
    }
    return false;
}

}  // namespace quarn::designer
