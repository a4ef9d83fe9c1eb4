#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/RecordTable.h"
#include "quarn/host/IChangeHistory.h"
#include "suite/store/Connection.h"
#include "suite/store/StoreLocation.h"

namespace quarn::suite {

/// A new connection of the engine the location names; `mode` for SQLite files. Raises
/// Unavailable.
enum class OpenMode { ReadWrite, ReadOnly, Unchanging, Create };
std::unique_ptr<Connection> Connect(const StoreLocation& location, OpenMode mode);

/// A row of the tree as a committed write of this session left it.
struct WrittenRow {
    std::string table;
    int64_t id = 0;
    /// The values by column name, as written; none when the row was deleted.
    std::optional<std::vector<std::pair<std::string, Variant>>> values;
};

/// The last write transaction this session committed: the change number it started from, the
/// number of its last change and its rows in the order written, each with its new version.
struct OwnCommit {
    int64_t before = -1;
    int64_t sequence = 0;
    std::vector<WrittenRow> rows;
};

/// One session's connection to an existing suite database.
///
/// Opening only reads: it checks that the schema is ours and not newer, and writes nothing.
/// Reads take no write lock. A write transaction first brings an older schema of ours to the
/// current version, then takes its change number, so writers queue on the counter instead of
/// deadlocking over the rows they touch.
///
/// Every call holds the connection's lock; a transaction holds it from BeginWrite to Commit or
/// Rollback, so other threads of the session wait. Failures raise StoreFailure.
class Database {
  public:
    /// The PostgreSQL role that free queries take when the connection's user is a member.
    static constexpr const char* kReaderRole = "quarn_reader";

    /// Raises Unavailable, NotOurs or NewerSchema (and Busy when the database stays locked).
    static std::shared_ptr<Database> Open(const StoreLocation& location);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const StoreLocation& Location() const { return location_; }
    bool IsPostgreSQL() const { return location_.kind == StoreLocation::Kind::PostgreSQL; }

    /// Reads rows, typed as the engine reports them.
    std::shared_ptr<const RecordTable> Query(const std::string& sql,
                                             const std::vector<Variant>& parameters = {});
    /// Reads rows into the given columns and types.
    std::shared_ptr<const RecordTable> QueryTyped(const std::string& sql,
                                                  const std::vector<ColumnSpec>& columns,
                                                  const std::vector<Variant>& parameters = {});
    /// The rows of such a read, for a caller that arranges them before they become a table.
    std::vector<RecordTable::Row> ReadTyped(const std::string& sql,
                                            const std::vector<ColumnSpec>& columns,
                                            const std::vector<Variant>& parameters = {});
    /// Steps a read row by row, keeping none (see Connection::Each).
    void Each(const std::string& sql, const std::vector<Variant>& parameters,
              const std::function<void(const RowView&)>& row);
    /// Runs `read` in one read transaction (unless a transaction is open already), so that
    /// every query in it sees the same committed state; takes no write lock.
    template <class Read>
    auto Reading(Read&& read) {
        auto lock = Lock();
        const bool own = !inTransaction_;
        if (own) {
            connection_->BeginRead();
            inTransaction_ = true;
        }
        try {
            auto result = read();
            if (own) {
                EndRead();
            }
            return result;
        } catch (...) {
            if (own) {
                EndRead();
            }
            throw;
        }
    }

    /// The condition "`column` is in the list of parameter `parameter`" and its value.
    std::string InList(std::string_view column, int parameter) const {
        return connection_->InList(column, parameter);
    }
    Variant ListValue(const std::vector<int64_t>& values) const {
        return connection_->ListValue(values);
    }

    /// The number of the last committed change.
    int64_t ChangeSequence();
    /// In a write transaction: the number of the last committed change when it began, read
    /// with the write lock held (SQLite's lock of the file, PostgreSQL's of the change counter),
    /// so no other change can commit before this one.
    int64_t ChangeBeforeWrite() const { return changeBefore_; }
    /// Whether the database has the search index and this program can read it (see
    /// search::Indexed).
    bool HasSearchIndex();
    /// The schema version the database had when last looked at.
    int SchemaVersion() const { return schemaVersion_; }

    /// Begins a transaction that writes the tree (see above).
    void BeginWrite();
    /// Runs a statement inside the write transaction; returns the first value it yields or 0.
    int64_t Run(const std::string& sql, const std::vector<Variant>& parameters);
    /// Runs a statement that writes; returns the number of rows it wrote.
    int64_t Change(const std::string& sql, const std::vector<Variant>& parameters);
    /// Notes that the row `itemId` of `table` was written with `values` (or deleted, without),
    /// so that the session's snapshot can take it after the commit.
    void RecordChange(std::string_view table, int64_t itemId,
                      std::optional<std::vector<std::pair<std::string, Variant>>> values = {});
    /// Makes the log rows of the next write transaction carry `note` when it commits ("" for
    /// none); its commit or rollback clears the note.
    void NoteNextWrite(std::string note);
    void Commit();
    /// What this session's last committed write wrote, so that its own snapshot can take the
    /// rows without reading them back.
    OwnCommit LastCommit() {
        auto lock = Lock();
        return lastCommit_;
    }
    /// Undoes the open transaction, if any. Never raises.
    void Rollback() noexcept;
    bool InTransaction() const { return inTransaction_; }
    /// Whether a write transaction is open: what is read now may yet be rolled back.
    bool Writing() const { return writing_; }
    /// How many write transactions were rolled back on this connection so far.
    int64_t RolledBackWrites() const { return rolledBackWrites_; }

    /// Puts back what keeps the change log true (see changelog::Protect) and the rules on values
    /// (see valuerules::Restore) in a write of its own, logged as a change with a note naming what
    /// was missing; returns that. Raises as a write does; on PostgreSQL it needs the log's owner.
    std::vector<std::string> Repair();
    /// What Repair would put back, without writing (see changelog::MissingProtections); empty
    /// for a database of a schema that keeps no log yet.
    std::vector<std::string> MissingProtections();
    /// The rules on values that Repair would put back (see valuerules::Missing), without writing;
    /// empty for a database of a schema without them.
    std::vector<std::string> MissingValueRules();
    /// Checks the seals of the whole log (see changelog::VerifySeals), in one read. On SQLite
    /// on a connection of its own, which sees what is committed: it may run on another thread
    /// beside this database's other reads.
    SealCheck VerifySeals(const std::optional<ChainHead>& exported);
    /// The newest sealed change.
    ChainHead SealHead();
    /// Whether a sealed log row of change `number` no longer matches its seal.
    bool SealBroken(int64_t number);

    /// Reads inside a free query: one statement that may only read the suite's tables; a
    /// statement that would do anything else raises ReadOnly and changes nothing.
    std::shared_ptr<const RecordTable> QueryReadOnly(const std::string& sql);

    std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock(mutex_); }

  private:
    Database(StoreLocation location, std::unique_ptr<Connection> connection);
    void EndRead() noexcept;
    /// PostgreSQL: whether the connection's user may take the role that only reads the
    /// suite's tables (see the README); free queries run under it when so.
    bool HasReaderRole();
    Connection& ReadOnlyConnection();
    /// Before the commit: gives each row the session wrote its new version (as the triggers
    /// stamped it) and names this client in the log; returns the number of the last change.
    int64_t StampOwnRows();
    /// PostgreSQL: takes the transaction's change number, and with it the counter's lock, and
    /// sets the client label and note that the log's triggers stamp its rows with; returns the
    /// number before it.
    int64_t TakeChangeNumber(const std::string& note);
    /// Raises Unprotected when a trigger, function or grant the change log depends on is
    /// missing or altered; looks again only when the schema may have changed.
    void CheckProtections();

    StoreLocation location_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<Connection> readOnly_;  // SQLite: free queries; opened on first use
    OpenMode readOnlyMode_ = OpenMode::ReadOnly;
    bool writable_ = true;   // false for a file on read-only media or that this user may not write
    bool diskFull_ = false;  // not writable because the disk had no room for the shared memory
    std::recursive_mutex mutex_;
    std::unique_lock<std::recursive_mutex> transactionLock_;
    bool inTransaction_ = false;
    bool writing_ = false;
    int64_t rolledBackWrites_ = 0;
    int schemaVersion_ = 0;
    std::optional<bool> hasReaderRole_;  // checked once per connection; migrations only go forward
    int64_t changeBefore_ = 0;         // the last committed change when the write transaction began
    std::vector<WrittenRow> written_;  // by the open write transaction
    std::string note_;                 // for the log rows of the next write transaction
    OwnCommit lastCommit_;
    bool repairing_ = false;
    bool protectionsChecked_ = false;      // PostgreSQL: once per connection
    int64_t protectedSchemaVersion_ = -1;  // SQLite: the schema version last found protected
};

}  // namespace quarn::suite
