#pragma once

#include <memory>

#include "host/IChangeHistory.h"
#include "suite/SuiteSession.h"

namespace quarn::suite {

/// DataFlowInfo.ChangeHistory on the databases of its session: reads t_DataFlowChangeLog with
/// typed, prepared queries in one read transaction and joins the rows that one transaction
/// logged of one item (a rewrite's delete and insert) into one change. Store failures raise
/// ComError in the session's language.
class ChangeHistory : public IChangeHistory {
  public:
    explicit ChangeHistory(std::shared_ptr<SuiteSession> session) : session_(std::move(session)) {}

    bool IsLogged(const std::string& propsString) override;
    std::vector<ItemChange> Changes(const std::string& propsString, std::optional<TreeItemRef> item,
                                    const std::string& since) override;
    std::vector<ItemChange> Change(const std::string& propsString, int64_t number) override;
    std::vector<RecordChange> RecordChanges(const std::string& propsString,
                                            const std::string& since) override;
    void NoteNextWrite(const std::string& note) override;
    SealCheck VerifySeals(const std::string& propsString,
                          const std::optional<ChainHead>& exported) override;
    ChainHead SealHead(const std::string& propsString) override;
    bool IsSealBroken(const std::string& propsString, int64_t number) override;

  private:
    std::shared_ptr<SuiteSession> session_;
};

}  // namespace quarn::suite
