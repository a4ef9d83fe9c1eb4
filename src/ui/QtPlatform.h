#pragma once

#include <filesystem>

#include "quarn/host/ComponentRegistry.h"
#include "quarn/runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// Gives the component the pieces of a screen: the message box of the module state becomes a
/// QtMessageBox, and the help component QuarnCHMResTool.ClsCHMHelp a ChmHelpWindow over the
/// pages in `helpFolder` (the suite's data folder's "help", e.g. suite::DataDirectory() /
/// "help"). Qt's own texts (standard buttons, text-field menus, file dialogs) follow the
/// module's session language, from Qt's translations; call it again after the session changes
/// its language. Needs a QApplication before any box or window is shown.
void InstallQtPlatform(ModuleState& module, ComponentRegistry& registry,
                       const std::filesystem::path& helpFolder);

}  // namespace quarn::subsysmgr
