#include "exchange/MessageCollector.h"

#include <utility>

namespace quarn::subsysmgr::exchange {

int32_t MessageCollector::Show(const std::string& prompt, int32_t flags, const std::string& title) {
    messages_.push_back(prompt);
    if (echo_ && !quiet_) {
        *echo_ << title << ": " << prompt << '\n';
    }
    constexpr int32_t kNo = 7;
    return (flags & kMessageBoxYesNo) == kMessageBoxYesNo ? kNo : kMessageBoxResultOk;
}

std::string MessageCollector::Take() {
    std::string joined;
    for (const std::string& message : messages_) {
        joined += (joined.empty() ? "" : "\n") + message;
    }
    messages_.clear();
    return joined;
}

CollectedMessages::CollectedMessages(ModuleState& module)
    : module_(module), before_(std::exchange(module.messageBox, collector_)) {}

CollectedMessages::~CollectedMessages() {
    module_.messageBox = before_;
}

}  // namespace quarn::subsysmgr::exchange
