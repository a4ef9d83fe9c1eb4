#pragma once

#include <cstdint>
#include <string>

#include "runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// Key code of F1.
inline constexpr int16_t kHelpKeyCode = 112;
/// Help topics of the two editors.
inline constexpr int32_t kGroupEditorHelpTopic = 580038;
inline constexpr int32_t kSubSystemEditorHelpTopic = 580042;

/// Shows the help topic when the key is F1 and returns true; false for any other key. Never
/// fails: F1 returns true even when no help could be shown.
bool HandleHelpKey(ModuleState& module, int16_t keyCode, int32_t topic,
                   const std::string& text1 = {}, int32_t number1 = 0,
                   const std::string& text2 = {}, int32_t number2 = 0);

}  // namespace quarn::subsysmgr
