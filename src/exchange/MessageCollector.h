#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/IMessageBox.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// A message box that nobody looks at: keeps every message the business objects show (a refused
/// deletion says why in one) and, given a stream and unless told to keep quiet, writes each to it
/// at once as "title: prompt". A Yes/No question is answered No, so what is stored stays;
/// anything else OK.
class MessageCollector : public IMessageBox {
  public:
    MessageCollector() = default;
    explicit MessageCollector(std::ostream& echo) : echo_(&echo) {}

    int32_t Show(const std::string& prompt, int32_t flags, const std::string& title) override;

    /// The prompts shown so far.
    const std::vector<std::string>& Messages() const { return messages_; }
    /// The prompts shown since the last call, one a line; forgets them.
    std::string Take();
    /// Only record, write nothing (for machine-readable output).
    void Quiet(bool quiet) { quiet_ = quiet; }

  private:
    std::ostream* echo_ = nullptr;
    std::vector<std::string> messages_;
    bool quiet_ = false;
};

/// Makes a collector the session's message box while it lives, then puts back the one before.
class CollectedMessages {
  public:
    explicit CollectedMessages(ModuleState& module);
    ~CollectedMessages();
    CollectedMessages(const CollectedMessages&) = delete;
    CollectedMessages& operator=(const CollectedMessages&) = delete;

    std::string Take() { return collector_->Take(); }

  private:
    std::shared_ptr<MessageCollector> collector_ = std::make_shared<MessageCollector>();
    ModuleState& module_;
    std::shared_ptr<IMessageBox> before_;
};

}  // namespace quarn::subsysmgr::exchange
