#pragma once

#include <memory>

#include "host/ITreeSearch.h"
#include "suite/SuiteSession.h"

namespace quarn::suite {

/// DataFlowInfo.TreeSearch on the databases of its session (see search::Create for the index).
/// Texts of three or more characters are looked up in the index; shorter ones, which a trigram
/// index cannot answer, and every text on a database without the index are matched row by row
/// with the same folding of case. A session's diagnostic log says once that a database has no
/// index. Store failures raise ComError in the session's language.
class TreeSearch : public ITreeSearch {
  public:
    explicit TreeSearch(std::shared_ptr<SuiteSession> session) : session_(std::move(session)) {}

    std::vector<TreeMatch> Find(const std::string& propsString, const std::string& text) override;

  private:
    std::shared_ptr<SuiteSession> session_;
};

}  // namespace quarn::suite
