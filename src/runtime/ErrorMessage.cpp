#include "runtime/ErrorMessage.h"

#include <cstdio>
#include <string_view>

#include "host/IMessageBox.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"

namespace quarn::subsysmgr {

namespace {

constexpr std::string_view kErrorNumber = "错误 %1";

Variant ShownNumber(const ComError& error) {
    if (error.Offset() >= 0) {
        return Variant(error.Offset());
    }
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(error.Number()));
    return Variant(std::string(hex));
}

}  // namespace

std::string ErrorNumberText(ModuleState& module, const ComError& error) {
    const Variant number = ShownNumber(error);
    try {
        return FormatLocalText(module, kErrorNumber, {number});
    } catch (const ComError&) {
        // Showing an error never fails for want of the formatter.
        return "error " + number.ToText();
    }
}

std::string ErrorMessage(ModuleState& module, const ComError& error) {
    return error.Description() + "\n(" + ErrorNumberText(module, error) + ")";
}

void ShowError(ModuleState& module, const ComError& error, const std::string& lead) {
    ShowMessage(module, (lead.empty() ? "" : lead + "\n\n") + ErrorMessage(module, error),
                kMessageBoxWarning);
}

}  // namespace quarn::subsysmgr
