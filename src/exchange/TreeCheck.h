#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeText.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// A text many findings share (a rule's text, a remedy, most messages): made once per check, since
/// a large tree can break one rule a million times.
using SharedText = std::shared_ptr<const std::string>;

/// One stored row (or the database's own protection) that breaks a rule the editors or the store
/// enforce, with the texts a user reads in the session language.
struct TreeFinding {
    /// "group", "subsystem", or "database" for the change log's protections and seals and the
    /// rules on values the database keeps.
    std::string_view kind;
    int32_t id = 0;     ///< the item's code; 0 for the database
    int32_t group = 0;  ///< a subsystem's group, where a window finds it; 0 for the others
    /// The item as the editors name it ("Subsystem 8001 Dealer Portal"), its name as stored.
    std::string item;
    /// The rule's key ("name-taken"), and what it says.
    std::string_view rule;
    SharedText ruleText;
    /// The field by its key in the exchange file ("names.EN", "accountTypes"); "" for none.
    std::string field;
    /// The editors' error for it (0 where the editors have none) and their message.
    int32_t error = 0;
    SharedText message;
    /// What to do about it.
    SharedText remedy;
};

/// Checks every stored group and subsystem against the rules of the editors and the store, each
/// table read once (DataFlowInfo.TreeRows), and the change log's protections and seals.
/// `missingProtections` is what the store says keeps the log from being trusted, and
/// `missingValueRules` the triggers or constraints of its rules on values that are gone (both what
/// `repair` would put back). The seals are verified beside the rows' check, on another thread;
/// without `verifySeals` they are left out, as a check inside a write transaction must (its own
/// rows are not sealed yet, and the other thread would wait for the transaction to end). Findings
/// come groups first, then subsystems, each by code, then the database's. Store failures pass
/// through as ComError.
std::vector<TreeFinding> CheckTree(const std::shared_ptr<ModuleState>& module,
                                   const ExchangeText& text,
                                   const std::vector<std::string>& missingProtections,
                                   const std::vector<std::string>& missingValueRules,
                                   bool verifySeals = true);

}  // namespace quarn::subsysmgr::exchange
