#pragma once

#include <string>

#include "foundation/ComError.h"

namespace quarn::designer {

/// "error 1042" in the session language: an error's number as the command line prints it,
/// counted from the object-error base, so that a person finds it in the documented tables.
std::string ErrorNumberText(const ComError& error);

/// "<description>\n(error 1042)": an error as a message box of the designer shows it.
std::string ErrorMessage(const ComError& error);

}  // namespace quarn::designer
