#pragma once

#include "host/IFrmResLoader.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// Gives a dialog the font of the session language. Never fails: the dialog keeps its design
/// font when no font loader works.
void ApplyFormFont(ModuleState& module, IFontTarget& dialog);

}  // namespace quarn::subsysmgr
