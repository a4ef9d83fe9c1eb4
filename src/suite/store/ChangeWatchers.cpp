#include "suite/store/ChangeWatchers.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "suite/store/ChangeLog.h"
#include "suite/store/LibPq.h"
#include "suite/store/PostgresConnection.h"
#include "suite/store/SqliteConnection.h"
#include "suite/store/StoreErrors.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {

namespace {

// SQLite announces nothing; its data version moves when another connection commits, and only
// then is the log asked for its last number.
class SqliteWatch : public ChangeWatch {
  public:
    explicit SqliteWatch(const StoreLocation& location)
        : connection_(location.target, SqliteConnection::Mode::ReadOnly,
                      location.busyTimeoutSeconds, location.Name()) {}

    int Socket() const override { return -1; }

    int64_t LastChange() override {
        const int64_t dataVersion = connection_.Run("PRAGMA data_version", {});
        if (dataVersion != dataVersion_) {
            dataVersion_ = dataVersion;
            // A database from before the log: every commit of another connection counts.
            last_ = connection_.HasTable(changelog::kLogTable)
                        ? connection_.Run(std::string(changelog::kLastChangeSqlite), {})
                        : last_ + 1;
        }
        return last_;
    }

  private:
    SqliteConnection connection_;
    int64_t dataVersion_ = -1;
    int64_t last_ = 0;
};

// PostgreSQL announces each committed change on a channel; the watch listens on a connection of
// its own and reads the numbers that arrived, without asking the server.
class PostgresWatch : public ChangeWatch {
  public:
    explicit PostgresWatch(const StoreLocation& location)
        : description_(location.Name()),
          connection_(location.PostgresConninfo(), location.busyTimeoutSeconds, description_) {
        connection_.Execute("LISTEN " + std::string(changelog::kChangedChannel));
        last_ = connection_.Run(std::string(changelog::kLastChangePostgres), {});
    }

    int Socket() const override { return Pq().PQsocket(connection_.Handle()); }

    int64_t LastChange() override {
        pg_conn* handle = connection_.Handle();
        if (Pq().PQconsumeInput(handle) == 0) {
            RaiseStoreError(StoreError::Unavailable, "Database", messages::kCannotReach,
                            description_);
        }
        while (PGnotify* notice = Pq().PQnotifies(handle)) {
            int64_t number = 0;
            const std::string_view payload(notice->extra);
            std::from_chars(payload.data(), payload.data() + payload.size(), number);
            last_ = std::max(last_, number);
            Pq().PQfreemem(notice);
        }
        return last_;
    }

  private:
    DatabaseName description_;
    PostgresConnection connection_;
    int64_t last_ = 0;
};

}  // namespace

std::unique_ptr<ChangeWatch> WatchChanges(const StoreLocation& location) {
    if (location.kind == StoreLocation::Kind::PostgreSQL) {
        return std::make_unique<PostgresWatch>(location);
    }
    return std::make_unique<SqliteWatch>(location);
}

}  // namespace quarn::suite
