#pragma once

#include <string>
#include <vector>

#include "exchange/TreeItems.h"
#include "runtime/ModuleState.h"

/// Stored texts that are not valid UTF-8. Our programs never store them, but another program
/// writing to the database may; every reader still finds such an item.
namespace quarn::subsysmgr::exchange {

/// The captions (as the editors show them, in the session language) of the item's texts that
/// are not valid UTF-8, in the editors' order.
std::vector<std::string> InvalidTextFields(ModuleState& module, const GroupItem& group);
std::vector<std::string> InvalidTextFields(ModuleState& module, const SubSystemItem& subSystem);

}  // namespace quarn::subsysmgr::exchange
