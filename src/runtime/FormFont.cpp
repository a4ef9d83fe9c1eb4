#include "runtime/FormFont.h"

#include "host/ProgIds.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

void ApplyFormFont(ModuleState& module, IFontTarget& dialog) {
    try {
        GetSessionLanguage(module);  // fills the language cache
        if (!module.frmResLoader) {
            module.frmResLoader = module.registry->Create<IFrmResLoader>(progid::kFrmResLoader);
        }
        module.frmResLoader->SetFrmFont(dialog, module.languageCache);
    } catch (...) {
        // The design font stays.
    }
}

}  // namespace quarn::subsysmgr
