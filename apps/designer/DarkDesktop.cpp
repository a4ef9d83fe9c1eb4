#include "DarkDesktop.h"

namespace quarn::designer {

QPalette DarkDesktopPalette() {
    QPalette dark(QColor(0x31, 0x36, 0x3b), QColor(0x2a, 0x2e, 0x32));  // button, window
    dark.setColor(QPalette::Base, QColor(0x1b, 0x1e, 0x20));
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText}) {
        dark.setColor(role, QColor(0xfc, 0xfc, 0xfc));
    }
    return dark;
}

}  // namespace quarn::designer
