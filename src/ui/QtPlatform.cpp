#include "ui/QtPlatform.h"

#include <memory>

#include "host/ProgIds.h"
#include "runtime/SessionContext.h"
#include "ui/ChmHelpWindow.h"
#include "ui/QtMessageBox.h"
#include "ui/QtTranslations.h"

namespace quarn::subsysmgr {

void InstallQtPlatform(ModuleState& module, ComponentRegistry& registry,
                       const std::filesystem::path& helpFolder) {
    module.messageBox = std::make_shared<QtMessageBox>();
    registry.Register(progid::kChmHelp,
                      [helpFolder] { return std::make_shared<ChmHelpWindow>(helpFolder); });
    InstallQtTranslations(GetLanguageOrDefault(module));
}

}  // namespace quarn::subsysmgr
