#pragma once

#include <memory>

#include "suite/ChangeWatch.h"
#include "suite/store/StoreLocation.h"

namespace quarn::suite {

/// A watch on the tree of an existing database, on a connection of its own. Raises the store's
/// errors when it cannot connect.
std::unique_ptr<ChangeWatch> WatchChanges(const StoreLocation& location);

}  // namespace quarn::suite
