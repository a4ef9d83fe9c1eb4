#pragma once

#include <string>

#include "CliContext.h"
#include "exchange/TreeCheck.h"

namespace quarn::subsysmgr::cli {

/// A finding of the tree's check as `check --json` gives it.
Json FindingJson(const exchange::TreeFinding& finding);
/// A finding in one line, as `check` prints it: item, rule, the editors' message, what to do.
std::string FindingLine(const exchange::TreeFinding& finding);

}  // namespace quarn::subsysmgr::cli
