#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "suite/store/DatabaseName.h"

namespace quarn::suite {

/// Which database a session uses: an SQLite file or a PostgreSQL connection. The secrets of a
/// PostgreSQL connection are held apart from `target`, so that whatever shows, remembers or
/// publishes the location (ContextValue, Describe) never carries them.
struct StoreLocation {
    enum class Kind { SQLite, PostgreSQL };

    Kind kind = Kind::SQLite;
    /// The file of an SQLite database, or the libpq key=value string of a PostgreSQL one without
    /// its password.
    std::string target;
    /// The demo database: created with the demo data when it does not exist yet.
    bool demo = false;
    /// How long a write waits for another writer before it fails with StoreError Busy
    /// (context entry BusyTimeout, in seconds).
    int busyTimeoutSeconds = kDefaultBusyTimeoutSeconds;
    /// The PostgreSQL password; empty: libpq's own sources (~/.pgpass, PGPASSFILE, PGPASSWORD,
    /// service files) apply as usual.
    std::string password{};
    /// Other secret entries of the connection string (the SSL key's sslpassword), as key=value
    /// text, held apart like the password.
    std::string otherSecrets{};

    static constexpr int kDefaultBusyTimeoutSeconds = 10;

    /// The location the context's Database entry names, or the demo database in the user's
    /// data folder without one; BusyTimeout=<seconds> changes the busy timeout. Raises StoreError
    /// InvalidLocation for an entry it cannot read or a database FromDatabaseSpec refuses.
    static StoreLocation FromContext(std::string_view context);
    /// The location a host names: "" for the demo database, a bare SQLite path, "sqlite:<file>",
    /// "postgresql:<libpq connection string>" or a postgresql:// URI. Raises StoreError
    /// InvalidLocation for an in-memory or file: URI SQLite database, a name that the context
    /// string cannot carry (';' or NUL), and a connection string that libpq cannot parse or that
    /// is longer than ConnectionString::kMaxLength; the message repeats neither the connection
    /// string nor the password.
    static StoreLocation FromDatabaseSpec(std::string_view spec);
    /// $XDG_DATA_HOME/quarn/demo.sqlite, or ~/.local/share/quarn/demo.sqlite.
    static std::filesystem::path DemoDatabasePath();

    /// The value of the context's Database entry for this location: "sqlite:<file>" or
    /// "postgresql:<connection string without secrets>"; "" for the demo database.
    std::string ContextValue() const;
    /// The full connection string for libpq, secrets included: for the store's connection only.
    std::string PostgresConninfo() const;
    /// The database as messages name it: the file, or the database, server and role; never a
    /// secret.
    DatabaseName Name() const;
    /// The key under which a process shares one connection: two passwords are two keys. It
    /// holds the secrets; it is never shown.
    std::string Key() const;
};

}  // namespace quarn::suite
