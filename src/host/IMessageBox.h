#pragma once

#include <cstdint>
#include <string>

namespace quarn {

/// Flags of the platform's message box: buttons plus icon.
inline constexpr int32_t kMessageBoxOkOnly = 0;
inline constexpr int32_t kMessageBoxYesNo = 4;
inline constexpr int32_t kMessageBoxQuestion = 32;
inline constexpr int32_t kMessageBoxWarning = 48;
/// The second button is the default one (Enter presses No of Yes and No).
inline constexpr int32_t kMessageBoxDefaultButton2 = 256;
/// Codes of the buttons pressed.
inline constexpr int32_t kMessageBoxResultOk = 1;
inline constexpr int32_t kMessageBoxResultYes = 6;

/// The platform's modal message box.
class IMessageBox {
  public:
    virtual ~IMessageBox() = default;
    /// Shows the prompt and waits; returns the code of the button pressed.
    virtual int32_t Show(const std::string& prompt, int32_t flags, const std::string& title) = 0;
};

}  // namespace quarn
