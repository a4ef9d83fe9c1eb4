#include "runtime/ConsoleMessageBox.h"

#include <iostream>

namespace quarn::subsysmgr {

int32_t ConsoleMessageBox::Show(const std::string& prompt, int32_t /*flags*/,
                                const std::string& title) {
    std::cerr << title << ": " << prompt << '\n';
    return kMessageBoxResultOk;
}

}  // namespace quarn::subsysmgr
