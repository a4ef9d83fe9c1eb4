#include "suite/store/StoreLocation.h"

#include <algorithm>
#include <cstdlib>
#include <regex>

#include "suite/ContextEntries.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

constexpr std::string_view kSqlitePrefix = "sqlite:";
constexpr std::string_view kPostgresPrefix = "postgresql:";

}  // namespace

std::filesystem::path StoreLocation::DemoDatabasePath() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::filesystem::path base;
    if (dataHome && *dataHome) {
        base = dataHome;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".local" / "share";
    } else {
        base = std::filesystem::temp_directory_path();
    }
    return base / "quarn" / "demo.sqlite";
}

StoreLocation StoreLocation::FromContext(std::string_view context) {
    StoreLocation location = ChosenDatabase(context);
    if (const auto timeout = ContextEntry(context, "BusyTimeout")) {
        try {
            location.busyTimeoutSeconds = std::max(0, std::stoi(*timeout));
        } catch (const std::exception&) {
            RaiseStoreError(StoreError::InvalidLocation, "BusyTimeout",
                            "BusyTimeout must be a number of seconds, not \"" + *timeout + "\".");
        }
    }
    return location;
}

StoreLocation StoreLocation::ChosenDatabase(std::string_view context) {
    const auto entry = ContextEntry(context, kDatabaseEntry);
    if (!entry || entry->empty()) {
        return StoreLocation{Kind::SQLite, DemoDatabasePath().string(), true};
    }
    if (entry->rfind(kSqlitePrefix, 0) == 0 && entry->size() > kSqlitePrefix.size()) {
        return StoreLocation{Kind::SQLite, entry->substr(kSqlitePrefix.size()), false};
    }
    if (entry->rfind(kPostgresPrefix, 0) == 0 && entry->size() > kPostgresPrefix.size()) {
        return StoreLocation{Kind::PostgreSQL, entry->substr(kPostgresPrefix.size()), false};
    }
    RaiseStoreError(StoreError::InvalidLocation, "Database",
                    "The session names the database \"" + *entry +
                        "\": expected sqlite:<file> or postgresql:<connection>.");
}

std::string StoreLocation::Describe() const {
    if (kind == Kind::SQLite) {
        return "SQLite database " + target;
    }
    static const std::regex password("password=\\S*");
    return "PostgreSQL database (" + std::regex_replace(target, password, "password=***") + ")";
}

std::string StoreLocation::Key() const {
    return (kind == Kind::SQLite ? "sqlite:" : "postgresql:") + target;
}

}  // namespace quarn::suite
