#include "RecordingMessageBox.h"

namespace quarn::subsysmgr::cli {

int32_t RecordingMessageBox::Show(const std::string& prompt, int32_t /*flags*/,
                                  const std::string& title) {
    messages_.push_back(prompt);
    if (!quiet_) {
        stream_ << title << ": " << prompt << '\n';
    }
    return kMessageBoxResultOk;
}

}  // namespace quarn::subsysmgr::cli
