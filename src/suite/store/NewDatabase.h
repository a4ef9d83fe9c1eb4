#pragma once

#include "suite/CreateDatabase.h"
#include "suite/store/StoreLocation.h"

namespace quarn::suite {

/// CreateDatabase for a location already read.
void CreateDatabaseAt(const StoreLocation& location, DatabaseContent content);

}  // namespace quarn::suite
