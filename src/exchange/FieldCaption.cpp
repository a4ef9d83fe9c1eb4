#include "exchange/FieldCaption.h"

#include "runtime/LocalText.h"

namespace quarn::subsysmgr::exchange {

std::string FieldCaption(ModuleState& module, std::string_view caption) {
    std::string text = GetLocalText(module, caption);
    for (const std::string_view colon : {":", "\uFF1A"}) {  // ASCII and fullwidth colons
        if (text.ends_with(colon)) {
            text.resize(text.size() - colon.size());
        }
    }
    return text;
}

}  // namespace quarn::subsysmgr::exchange
