#pragma once

#include <memory>

#include "host/ITreeRows.h"
#include "suite/SuiteSession.h"

namespace quarn::suite {

/// DataFlowInfo.TreeRows on the databases of its session: each read is one statement of each
/// table it reads, stepped in one read transaction straight into the callbacks, bypassing the
/// snapshot that DatasInfo keeps. Store failures raise ComError in the session's language.
class TreeRows : public ITreeRows {
  public:
    explicit TreeRows(std::shared_ptr<SuiteSession> session) : session_(std::move(session)) {}

    void ReadTree(const std::string& propsString, const OnGroup& group,
                  const OnSubSystem& subSystem) override;
    void ReadRanges(const std::string& propsString, const std::vector<IdSpan>& groups,
                    const std::vector<IdSpan>& subSystems, const OnGroup& group,
                    const OnSubSystem& subSystem) override;
    void ReadTables(const std::string& propsString, const OnGroup& group,
                    const OnSubSystem& subSystem) override;

  private:
    std::shared_ptr<SuiteSession> session_;
};

}  // namespace quarn::suite
