#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/RecordTable.h"
#include "suite/store/StoreLocation.h"

namespace soci {
class session;
}

namespace quarn::suite {

/// A column of a typed bulk read: its name in the result and how its values are held.
struct ColumnSpec {
    enum class Type { Integer, Text };
    std::string name;
    Type type;
};

/// One connection to the suite database, shared by every component of the process that uses
/// the same location, with the schema checked (and created or migrated) on open.
///
/// Every call that touches the connection holds its lock; a transaction holds it from Begin to
/// Commit or Rollback, so other threads of the process wait. Driver failures become ComError
/// StoreError numbers whose message names the database and the problem.
class Database {
  public:
    static constexpr int kSchemaVersion = 1;

    struct OpenOptions {
        bool createIfMissing = false;  ///< an SQLite file that does not exist yet is created
        bool loadDemoData = false;     ///< a newly created schema gets the demo data
    };

    /// A connection of its own (not shared). Raises Unavailable, NewerSchema or Busy.
    static std::shared_ptr<Database> Open(const StoreLocation& location, OpenOptions options);
    /// The shared connection of this process for the location; the demo database is created
    /// with its demo data on first use, any other must exist.
    static std::shared_ptr<Database> Shared(const StoreLocation& location);
    /// The shared connection for the location a session context names.
    static std::shared_ptr<Database> ForContext(std::string_view context);
    /// Forgets the shared connections (tests, or a host that switches databases).
    static void CloseShared();

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const StoreLocation& Location() const { return location_; }
    bool IsPostgreSQL() const { return location_.kind == StoreLocation::Kind::PostgreSQL; }

    /// Runs statements; raises a StoreError naming `what` on failure.
    void Execute(const std::string& sql, std::string_view what);
    /// Runs one statement with :name placeholders bound in order to `parameters`; the statement
    /// stays prepared for the next call with the same text. Returns the first column of the
    /// first row it yields (UPDATE ... RETURNING), or 0.
    int64_t Run(const std::string& sql, const std::vector<Variant>& parameters,
                std::string_view what);
    /// Reads a query into a table, every value typed as the driver reports it.
    std::shared_ptr<const RecordTable> Query(const std::string& sql, std::string_view what);
    /// Reads a query in bulk into a table with the given columns and types.
    std::shared_ptr<const RecordTable> QueryTyped(const std::string& sql,
                                                  const std::vector<ColumnSpec>& columns,
                                                  std::string_view what);
    /// Reads a query in a read-only transaction: a statement that would write fails with
    /// StoreError ReadOnly and changes nothing.
    std::shared_ptr<const RecordTable> QueryReadOnly(const std::string& sql, std::string_view what);

    void Begin();
    /// Begins a transaction that writes the tree: takes its change number first, so writers
    /// queue on the counter instead of deadlocking over the rows they touch.
    void BeginWrite();
    void Commit();
    void Rollback();
    bool InTransaction() const { return inTransaction_; }

    /// The change sequence: the number of the last committed write transaction.
    int64_t ChangeSequence();
    /// Within a transaction begun by BeginWrite: records that the row `itemId` of `table`
    /// changed, under the transaction's change number.
    void RecordChange(std::string_view table, int64_t itemId);

    /// The connection; hold Lock() while using it.
    soci::session& Session() { return *session_; }
    std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock(mutex_); }

    /// Turns a driver failure into the ComError that names this database and the problem.
    [[noreturn]] void RaiseDriverError(const std::exception& error, std::string_view what);

  private:
    Database(StoreLocation location, std::unique_ptr<soci::session> session);
    void EnsureSchema(bool loadDemoData);
    void RunScript(std::string_view script, std::string_view what);
    bool HasTable(std::string_view table);
    std::shared_ptr<const RecordTable> QueryTypedSqlite(const std::string& query,
                                                        const std::vector<ColumnSpec>& columns,
                                                        std::string_view what);
    struct PreparedStatements;

    StoreLocation location_;
    std::unique_ptr<soci::session> session_;
    std::unique_ptr<PreparedStatements> prepared_;  // SQLite only
    std::recursive_mutex mutex_;
    std::unique_lock<std::recursive_mutex> transactionLock_;
    bool inTransaction_ = false;
    int64_t transactionSequence_ = 0;
};

}  // namespace quarn::suite
