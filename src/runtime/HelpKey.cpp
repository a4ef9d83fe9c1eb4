#include "runtime/HelpKey.h"

#include "host/ProgIds.h"

namespace quarn::subsysmgr {

bool HandleHelpKey(ModuleState& module, int16_t keyCode, int32_t topic, const std::string& text1,
                   int32_t number1, const std::string& text2, int32_t number2) {
    if (keyCode != kHelpKeyCode) {
        return false;
    }
    try {
        if (!module.help) {
            module.help = module.registry->Create<IChmHelp>(progid::kChmHelp);
        }
        module.help->ShowHELP(topic, int16_t{0}, text1, number1, text2, number2);
    } catch (...) {
        // Help that cannot be shown must not disturb the dialog; the key still counts as handled.
    }
    return true;
}

}  // namespace quarn::subsysmgr
