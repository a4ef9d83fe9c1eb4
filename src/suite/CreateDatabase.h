#pragma once

#include <string>

namespace quarn::suite {

/// What a new suite database holds besides its tables.
enum class DatabaseContent {
    /// The delivered base data: account types, the delivered groups and subsystems, the
    /// base-data types. Enough for adding and importing customer items.
    BaseData,
    /// The base data and the demo customer items with their business objects.
    DemoData,
};

/// Creates a suite database. `database` names it as HostSession does ("sqlite:<file>", a bare
/// SQLite path, or "postgresql:<libpq connection string>"); `password` as there.
///
/// An SQLite file must not exist yet, or be empty: it is built in a temporary file beside the
/// target and renamed into place, so an interrupted creation leaves no half-made database. A
/// PostgreSQL database must exist and hold none of the suite's tables; it is filled in one
/// transaction. Raises StoreError InvalidLocation for a name it cannot use (including an
/// in-memory database), Exists when there is already a database, CannotCreate when an SQLite
/// file cannot be made in its folder, and the store's errors.
void CreateDatabase(const std::string& database, DatabaseContent content,
                    const std::string& password = {});

}  // namespace quarn::suite
