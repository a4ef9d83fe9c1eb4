#include "runtime/MessageBox.h"

#include "runtime/LocalText.h"

namespace quarn::subsysmgr {

int32_t ShowMessage(ModuleState& module, const std::string& prompt, int32_t flags,
                    std::string_view title) {
    const std::string shownTitle =
        title == kMessageTitle ? GetLocalText(module, title) : std::string(title);
    return module.messageBox->Show(prompt, flags, shownTitle);
}

}  // namespace quarn::subsysmgr
