#include "suite/store/StoreLocation.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "suite/ContextEntries.h"
#include "suite/store/ConnectionString.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

constexpr std::string_view kSqlitePrefix = "sqlite:";
constexpr std::string_view kPostgresPrefix = "postgresql:";

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The context string ends an entry at ';' and a C string ends at NUL: a name holding either
// would reach the store cut short.
void CheckCarried(std::string_view name) {
    if (name.find(';') != std::string_view::npos) {
        RaiseStoreError(StoreError::InvalidLocation, "Database", "数据库名不能含有 %1。", "';'");
    }
    if (name.find('\0') != std::string_view::npos) {
        RaiseStoreError(StoreError::InvalidLocation, "Database", "数据库名不能含有 %1。", "NUL");
    }
}

StoreLocation Sqlite(std::string_view file) {
    if (file.empty()) {
        RaiseStoreError(StoreError::InvalidLocation, "Database", "%1 之后缺少数据库文件名。",
                        std::string(kSqlitePrefix));
    }
    // SQLite would take these as a database that vanishes on close, or as a URI with options.
    if (file == ":memory:") {
        RaiseStoreError(StoreError::InvalidLocation, "Database",
                        "内存数据库 %1 在关闭时即消失，不能存放套件的数据。", ":memory:");
    }
    if (StartsWith(file, "file:")) {
        RaiseStoreError(StoreError::InvalidLocation, "Database",
                        "不支持 SQLite 的 %1 URI 文件名，请给出文件路径。", "file:");
    }
    CheckCarried(file);
    return StoreLocation{StoreLocation::Kind::SQLite, std::string(file)};
}

StoreLocation Postgres(std::string_view conninfo) {
    const ConnectionString parsed(conninfo);
    StoreLocation location{StoreLocation::Kind::PostgreSQL, parsed.WithoutSecrets()};
    location.password = parsed.Password();
    location.otherSecrets = parsed.OtherSecrets();
    CheckCarried(location.target);
    return location;
}

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

StoreLocation StoreLocation::FromDatabaseSpec(std::string_view spec) {
    if (spec.empty()) {
        return StoreLocation{Kind::SQLite, DemoDatabasePath().string(), true};
    }
    // libpq reads a URI whole, its scheme included.
    if (StartsWith(spec, "postgresql://") || StartsWith(spec, "postgres://")) {
        return Postgres(spec);
    }
    if (StartsWith(spec, kPostgresPrefix)) {
        return Postgres(spec.substr(kPostgresPrefix.size()));
    }
    if (StartsWith(spec, kSqlitePrefix)) {
        return Sqlite(spec.substr(kSqlitePrefix.size()));
    }
    return Sqlite(spec);
}

StoreLocation StoreLocation::FromContext(std::string_view context) {
    const auto entry = ContextEntry(context, kDatabaseEntry).value_or(std::string());
    if (!entry.empty() && !StartsWith(entry, kSqlitePrefix) &&
        !StartsWith(entry, kPostgresPrefix) && !StartsWith(entry, "postgres://")) {
        RaiseStoreError(StoreError::InvalidLocation, "Database",
                        "上下文项 %1 应为 sqlite:<文件> 或 postgresql:<连接字符串>。",
                        std::string(kDatabaseEntry));
    }
    StoreLocation location = FromDatabaseSpec(entry);
    if (const auto timeout = ContextEntry(context, "BusyTimeout")) {
        int seconds = 0;
        const char* end = timeout->data() + timeout->size();
        const auto [stop, error] = std::from_chars(timeout->data(), end, seconds);
        if (error != std::errc() || stop != end) {
            RaiseStoreError(StoreError::InvalidLocation, "BusyTimeout", "上下文项 %1 应为秒数。",
                            "BusyTimeout");
        }
        location.busyTimeoutSeconds = std::max(0, seconds);
    }
    return location;
}

std::string StoreLocation::ContextValue() const {
    if (demo) {
        return {};
    }
    return std::string(kind == Kind::SQLite ? kSqlitePrefix : kPostgresPrefix) + target;
}

std::string StoreLocation::PostgresConninfo() const {
    std::string conninfo = target;
    const auto append = [&conninfo](const std::string& entries) {
        if (!entries.empty()) {
            conninfo += (conninfo.empty() ? "" : " ") + entries;
        }
    };
    append(otherSecrets);
    if (!password.empty()) {
        append(ConnectionString::Pair("password", password));
    }
    return conninfo;
}

DatabaseName StoreLocation::Name() const {
    if (kind == Kind::SQLite) {
        return {.file = target};
    }
    try {
        return ConnectionString(target).Name();
    } catch (const std::exception&) {
        return {.postgres = true};  // a target set by hand that libpq cannot read
    }
}

std::string StoreLocation::Key() const {
    return kind == Kind::SQLite ? std::string(kSqlitePrefix) + target
                                : std::string(kPostgresPrefix) + PostgresConninfo();
}

}  // namespace quarn::suite
