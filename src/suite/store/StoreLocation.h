#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quarn::suite {

/// Which database a session uses: an SQLite file or a PostgreSQL connection.
struct StoreLocation {
    enum class Kind { SQLite, PostgreSQL };

    Kind kind = Kind::SQLite;
    /// The file of an SQLite database, or the libpq key=value string of a PostgreSQL one.
    std::string target;
    /// The demo database: created with the demo data when it does not exist yet.
    bool demo = false;
    /// How long a write waits for another writer before it fails with StoreError Busy
    /// (context entry BusyTimeout, in seconds).
    int busyTimeoutSeconds = kDefaultBusyTimeoutSeconds;

    static constexpr int kDefaultBusyTimeoutSeconds = 10;

    /// The location the context's Database entry names, or the demo database in the user's
    /// data folder without one; BusyTimeout=<seconds> changes the busy timeout. Raises StoreError
    /// InvalidLocation for an entry it cannot read.
    static StoreLocation FromContext(std::string_view context);
    /// $XDG_DATA_HOME/quarn/demo.sqlite, or ~/.local/share/quarn/demo.sqlite.
    static std::filesystem::path DemoDatabasePath();

  private:
    static StoreLocation ChosenDatabase(std::string_view context);

  public:
    /// A readable name for messages (without passwords).
    std::string Describe() const;
    /// The key under which a process shares one connection.
    std::string Key() const;
};

}  // namespace quarn::suite
