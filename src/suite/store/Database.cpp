#include "suite/store/Database.h"

#include <unistd.h>

#include <filesystem>
#include <set>

#include "suite/store/FreeQueryGuard.h"
#include "suite/store/PostgresConnection.h"
#include "suite/store/Schema.h"
#include "suite/store/SqliteConnection.h"
#include "suite/store/StoreErrors.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {

std::unique_ptr<Connection> Connect(const StoreLocation& location, OpenMode mode) {
    if (location.kind == StoreLocation::Kind::PostgreSQL) {
        return std::make_unique<PostgresConnection>(
            location.PostgresConninfo(), location.busyTimeoutSeconds, location.Describe());
    }
    const auto sqliteMode = mode == OpenMode::Create       ? SqliteConnection::Mode::Create
                            : mode == OpenMode::ReadOnly   ? SqliteConnection::Mode::ReadOnly
                            : mode == OpenMode::Unchanging ? SqliteConnection::Mode::Unchanging
                                                           : SqliteConnection::Mode::ReadWrite;
    return std::make_unique<SqliteConnection>(location.target, sqliteMode,
                                              location.busyTimeoutSeconds, location.Describe());
}

Database::Database(StoreLocation location, std::unique_ptr<Connection> connection)
    : location_(std::move(location)), connection_(std::move(connection)) {}

Database::~Database() {
    Rollback();
}

namespace {

// An SQLite file is judged on a connection that cannot change it: a file of another program
// may hold the journal of an interrupted write, which a writing connection would roll back.
// Returns the connection the session then uses and how free queries open theirs.
std::pair<std::unique_ptr<Connection>, OpenMode> OpenSqliteFile(const StoreLocation& location) {
    const std::string file = location.target;
    std::error_code ignored;
    const bool writable = ::access(file.c_str(), W_OK) == 0;
    const bool writerActive = std::filesystem::exists(file + "-wal", ignored);
    // A file this user may not write (or read-only media) with no writer: read it as it is,
    // creating nothing beside it.
    OpenMode mode = !writable && !writerActive ? OpenMode::Unchanging : OpenMode::ReadOnly;
    std::unique_ptr<Connection> probe;
    int version = 0;
    try {
        probe = Connect(location, mode);
        version = schema::VersionOf(*probe);
    } catch (const StoreFailure& failure) {
        if (failure.Error() == StoreError::WriteProtected) {
            schema::CheckReadable(0, location.Describe());  // another program's journal
        }
        if (failure.Error() != StoreError::Unavailable || mode == OpenMode::Unchanging) {
            throw;
        }
        // Shared memory that cannot be created beside the file: read-only media.
        mode = OpenMode::Unchanging;
        probe = Connect(location, mode);
        version = schema::VersionOf(*probe);
    }
    schema::CheckReadable(version, location.Describe());
    if (mode == OpenMode::Unchanging || !writable) {
        return {std::move(probe), mode};  // writes through it are refused as write-protected
    }
    return {Connect(location, OpenMode::ReadWrite), OpenMode::ReadOnly};
}

}  // namespace

std::shared_ptr<Database> Database::Open(const StoreLocation& location) {
    if (location.kind == StoreLocation::Kind::SQLite) {
        auto [connection, readOnlyMode] = OpenSqliteFile(location);
        auto database = std::shared_ptr<Database>(new Database(location, std::move(connection)));
        database->readOnlyMode_ = readOnlyMode;
        database->schemaCurrent_ = database->Reading([&] {
            return schema::VersionOf(*database->connection_);
        }) == schema::kCurrentVersion;
        return database;
    }
    auto database =
        std::shared_ptr<Database>(new Database(location, Connect(location, OpenMode::ReadWrite)));
    const int version =
        database->Reading([&] { return schema::VersionOf(*database->connection_); });
    schema::CheckReadable(version, location.Describe());
    database->schemaCurrent_ = version == schema::kCurrentVersion;
    return database;
}

std::shared_ptr<const RecordTable> Database::Query(const std::string& sql,
                                                   const std::vector<Variant>& parameters) {
    auto lock = Lock();
    return connection_->Query(sql, parameters);
}

std::shared_ptr<const RecordTable> Database::QueryTyped(const std::string& sql,
                                                        const std::vector<ColumnSpec>& columns,
                                                        const std::vector<Variant>& parameters) {
    auto lock = Lock();
    return connection_->QueryTyped(sql, columns, parameters);
}

void Database::EndRead() noexcept {
    inTransaction_ = false;
    try {
        connection_->Execute("ROLLBACK");  // a read has nothing to keep
    } catch (...) {
        // The connection is gone; its transaction with it.
    }
}

int64_t Database::ChangeSequence() {
    auto lock = Lock();
    return connection_->Run("SELECT FSeq FROM t_DataFlowChangeSeq", {});
}

void Database::BeginWrite() {
    auto lock = Lock();
    connection_->BeginWrite();
    transactionLock_ = std::move(lock);
    inTransaction_ = true;
    writing_ = true;
    written_.clear();
    try {
        if (!schemaCurrent_) {
            const int version = schema::VersionOf(*connection_);
            schema::CheckReadable(version, location_.Describe());
            schema::Migrate(*connection_, version);
        }
        // The row lock of the counter orders concurrent writers: numbers follow commits.
        if (IsPostgreSQL()) {
            transactionSequence_ = connection_->Run(
                "UPDATE t_DataFlowChangeSeq SET FSeq = FSeq + 1 RETURNING FSeq", {});
        } else {
            // SQLite keeps what RETURNING yields in a temporary table: two statements cost less.
            connection_->Run("UPDATE t_DataFlowChangeSeq SET FSeq = FSeq + 1", {});
            transactionSequence_ = connection_->Run("SELECT FSeq FROM t_DataFlowChangeSeq", {});
        }
    } catch (...) {
        Rollback();
        throw;
    }
}

int64_t Database::Run(const std::string& sql, const std::vector<Variant>& parameters) {
    auto lock = Lock();
    return connection_->Run(sql, parameters);
}

void Database::RecordChange(std::string_view table, int64_t itemId,
                            std::optional<std::vector<std::pair<std::string, Variant>>> values) {
    auto lock = Lock();
    written_.push_back({std::string(table), itemId, std::move(values)});
}

void Database::Commit() {
    auto lock = Lock();
    try {
        // One statement for every changed row of the transaction.
        std::set<std::pair<std::string, int64_t>> changes;
        for (const WrittenRow& row : written_) {
            changes.emplace(row.table, row.id);
        }
        if (writing_ && !changes.empty()) {
            std::string sql = "INSERT INTO t_DataFlowChange (FSeq, FTableName, FItemID) VALUES ";
            std::vector<Variant> values{transactionSequence_};
            for (const auto& [table, id] : changes) {
                const int next = static_cast<int>(values.size()) + 1;
                sql += (values.size() > 1 ? ", " : "") + std::string("($1, $") +
                       std::to_string(next) + ", $" + std::to_string(next + 1) + ")";
                values.emplace_back(table);
                values.emplace_back(id);
            }
            connection_->Run(sql, values);
        }
        connection_->Execute("COMMIT");
        schemaCurrent_ = true;
    } catch (...) {
        Rollback();
        throw;
    }
    if (writing_) {
        lastCommit_ = {transactionSequence_, std::move(written_)};
    }
    inTransaction_ = false;
    writing_ = false;
    written_.clear();
    transactionLock_ = {};
}

void Database::Rollback() noexcept {
    if (!inTransaction_) {
        return;
    }
    auto lock = std::move(transactionLock_);
    inTransaction_ = false;
    writing_ = false;
    written_.clear();
    try {
        connection_->Execute("ROLLBACK");
    } catch (...) {
        // A lost connection has lost its transaction too.
    }
}

bool Database::HasReaderRole() {
    if (!hasReaderRole_) {
        // A direct grant only: a superuser counts as a member of every role.
        hasReaderRole_ = connection_->Run(
                             "SELECT count(*) FROM pg_auth_members m JOIN pg_roles r ON "
                             "r.oid = m.roleid WHERE r.rolname = $1 AND m.member = "
                             "(SELECT oid FROM pg_roles WHERE rolname = current_user)",
                             {std::string(kReaderRole)}) > 0;
    }
    return *hasReaderRole_;
}

Connection& Database::ReadOnlyConnection() {
    if (IsPostgreSQL()) {
        return *connection_;
    }
    if (!readOnly_) {
        readOnly_ = Connect(location_, readOnlyMode_);
        RestrictToReading(static_cast<SqliteConnection&>(*readOnly_).Handle());
    }
    return *readOnly_;
}

std::shared_ptr<const RecordTable> Database::QueryReadOnly(const std::string& sql) {
    auto lock = Lock();
    if (inTransaction_) {
        RaiseStoreError(StoreError::QueryFailed, "Database", "自由查询不能在写入事务中执行（%1）。",
                        location_.Describe());
    }
    CheckFreeQuery(sql, location_.Describe());
    Connection& connection = ReadOnlyConnection();
    try {
        if (!IsPostgreSQL()) {
            return connection.Query(sql, {});
        }
        // A read-only transaction that is always rolled back: not even a setting survives it.
        connection.Execute("BEGIN READ ONLY");
        connection.Execute("SET LOCAL statement_timeout = '30s'");
        if (HasReaderRole()) {
            connection.Execute(std::string("SET LOCAL ROLE ") + kReaderRole);
        }
        auto table = static_cast<PostgresConnection&>(connection).QueryOnce(sql);
        connection.Execute("ROLLBACK");
        return table;
    } catch (const StoreFailure& failure) {
        if (IsPostgreSQL()) {
            try {
                connection.Execute("ROLLBACK");
            } catch (const StoreFailure&) {
            }
        }
        if (failure.Error() == StoreError::WriteProtected) {
            RaiseStoreError(StoreError::ReadOnly, "Database", messages::kFreeQueryRefused,
                            location_.Describe());
        }
        throw;
    }
}

}  // namespace quarn::suite
