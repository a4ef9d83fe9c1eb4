#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/IMessageBox.h"

namespace quarn::subsysmgr::cli {

/// The message box of the command line: keeps every message the business objects show (a
/// refused deletion says why in one) and, unless told to keep quiet, writes it to a stream at
/// once as "title: prompt". Answers OK.
class RecordingMessageBox : public IMessageBox {
  public:
    explicit RecordingMessageBox(std::ostream& stream) : stream_(stream) {}

    int32_t Show(const std::string& prompt, int32_t flags, const std::string& title) override;

    /// The prompts shown so far.
    const std::vector<std::string>& Messages() const { return messages_; }
    /// Only record, write nothing (for machine-readable output).
    void Quiet(bool quiet) { quiet_ = quiet; }

  private:
    std::ostream& stream_;
    std::vector<std::string> messages_;
    bool quiet_ = false;
};

}  // namespace quarn::subsysmgr::cli
