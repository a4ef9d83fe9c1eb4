#pragma once

#include <QString>
#include <string_view>

#include "runtime/LocalText.h"
#include "runtime/ModuleState.h"
#include "ui/QtText.h"

namespace quarn::designer {

/// A text in the session language: one of the designer's (DesignerTexts.h), looked up as its
/// own resource key like the component's.
inline QString Tr(std::string_view text) {
    return subsysmgr::ToQString(subsysmgr::GetLocalText(*subsysmgr::ModuleState::Current(), text));
}

}  // namespace quarn::designer
