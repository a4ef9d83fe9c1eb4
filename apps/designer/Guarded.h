#pragma once

#include <functional>

namespace quarn::designer {

/// Runs an action on the component; returns false after showing its numbered error
/// (ComError) in the component's message box.
bool Guarded(const std::function<void()>& action);

}  // namespace quarn::designer
