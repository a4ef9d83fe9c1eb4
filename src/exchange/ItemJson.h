#pragma once

#include <nlohmann/json.hpp>

#include "exchange/TreeItems.h"

/// Groups and subsystems as JSON objects, the same in --json output and in export files:
///
///   group:     {"id", "names": {"CHS", "CHT", "EN"}, "index", "visible", "web", "accountTypes"}
///   subsystem: {"id", "group", "number", "names", "index", "visible", "web", "accountTypes"}
///
/// "visible" is visibility in the desktop client, "web" on the web; "accountTypes" is a list of
/// account type codes.
namespace quarn::subsysmgr::exchange {

using Json = nlohmann::ordered_json;

Json ToJson(const Names& names);
Json ToJson(const GroupItem& group);
Json ToJson(const SubSystemItem& subSystem);

}  // namespace quarn::subsysmgr::exchange
