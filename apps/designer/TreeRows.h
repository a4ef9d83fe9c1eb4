#pragma once

#include "exchange/TreeItems.h"
#include "exchange/TreeReader.h"

namespace quarn::designer {

/// What a row of the tree stands for.
enum class ItemKind { Group = 1, SubSystem = 2, BusinessObjects = 3, BusinessObject = 4 };

/// A group or subsystem as the tree holds it: the item as the command line reads it, with the
/// version of its stored row.
using StoredGroup = subsysmgr::exchange::TreeReader::Stored<subsysmgr::exchange::GroupItem>;
using StoredSubSystem = subsysmgr::exchange::TreeReader::Stored<subsysmgr::exchange::SubSystemItem>;

}  // namespace quarn::designer
