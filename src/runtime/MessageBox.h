#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// The title of every message box of the component; it is localized when shown.
inline constexpr std::string_view kMessageTitle = "Larkin提示";

/// Shows the prompt (already localized by the caller) in the platform's modal message box and
/// returns the code of the button pressed. The default title is localized; any other title is
/// shown as it is. Passes on failures of the message box.
int32_t ShowMessage(ModuleState& module, const std::string& prompt, int32_t flags,
                    std::string_view title = kMessageTitle);

}  // namespace quarn::subsysmgr
