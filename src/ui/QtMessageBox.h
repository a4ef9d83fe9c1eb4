#pragma once

#include <cstdint>
#include <string>

#include "host/IMessageBox.h"

namespace quarn::subsysmgr {

/// The platform's message box on QMessageBox. The flags are the suite's: buttons in the low
/// bits (0 OK, 1 OK and Cancel, 2 Abort, Retry and Ignore, 3 Yes, No and Cancel, 4 Yes and No,
/// 5 Retry and Cancel), the icon above them (16 critical, 32 question, 48 warning, 64
/// information). Returns the suite's code of the button pressed (1 OK, 2 Cancel, 3 Abort,
/// 4 Retry, 5 Ignore, 6 Yes, 7 No); Esc or closing the box counts as Cancel, or as the only
/// button. The box is modal over the dialog that is open.
class QtMessageBox : public IMessageBox {
  public:
    int32_t Show(const std::string& prompt, int32_t flags, const std::string& title) override;
};

}  // namespace quarn::subsysmgr
