#pragma once

#include <string>
#include <string_view>

#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// An editor's caption in the session language, without the colon some of them end in, to name
/// a field to the user.
std::string FieldCaption(ModuleState& module, std::string_view caption);

}  // namespace quarn::subsysmgr::exchange
