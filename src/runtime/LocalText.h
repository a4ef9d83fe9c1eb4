#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/Variant.h"
#include "runtime/ModuleState.h"

/// Localized texts. The component's source texts are simplified-Chinese phrases that serve as
/// their own keys in the resource file "QuarnDesign".
namespace quarn::subsysmgr {

inline constexpr std::string_view kResourceFileBaseName = "QuarnDesign";

/// The text in the session language. Blanks around the text are kept around the localized core;
/// a text of blanks only gives "". Never fails: without a working resource loader the text comes
/// back unchanged, and the loader is created again on the next call.
std::string GetLocalText(ModuleState& module, std::string_view text);

/// The localized template with %1 (%2, ...) replaced by the arguments. Passes on failures of the
/// message formatter.
std::string FormatLocalText(ModuleState& module, std::string_view templateText,
                            const std::vector<Variant>& arguments);

}  // namespace quarn::subsysmgr
