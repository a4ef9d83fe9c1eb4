#pragma once

#include <memory>

#include "host/IReleaseStore.h"
#include "suite/SuiteSession.h"

namespace quarn::suite {

/// DataFlowInfo.ReleaseStore on the databases of its session (see release::Create for the
/// record). Writes the delivered rows with plain statements inside one write transaction of the
/// session's database, so that the log's triggers record them as one change; the rules of the
/// editors are the caller's (the upgrade's plan). Store failures raise ComError in the session's
/// language.
class ReleaseStore : public IReleaseStore {
  public:
    explicit ReleaseStore(std::shared_ptr<SuiteSession> session) : session_(std::move(session)) {}

    SuiteRelease Shipped() override;
    std::optional<SuiteRelease> Release(const std::string& propsString) override;
    int64_t LastChange(const std::string& propsString) override;
    std::vector<AccountTypeRow> AccountTypes(const std::string& propsString) override;
    std::vector<std::pair<int32_t, int64_t>> Uses(const std::string& propsString,
                                                  const std::vector<int32_t>& ids) override;
    int64_t Write(const ReleaseWrite& write, const std::string& note) override;
    void Rehearse(const ReleaseWrite& write, const std::function<void()>& inside) override;
    std::optional<ReleaseChange> UpgradeOf(int64_t number) override;
    void RevertUpgrade(int64_t number, bool force, const std::string& note) override;

  private:
    std::shared_ptr<SuiteSession> session_;
};

}  // namespace quarn::suite
