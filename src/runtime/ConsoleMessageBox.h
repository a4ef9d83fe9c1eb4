#pragma once

#include "host/IMessageBox.h"

namespace quarn::subsysmgr {

/// The message box of a process without a screen: writes "title: prompt" to stderr and answers
/// OK at once.
class ConsoleMessageBox : public IMessageBox {
  public:
    int32_t Show(const std::string& prompt, int32_t flags, const std::string& title) override;
};

}  // namespace quarn::subsysmgr
