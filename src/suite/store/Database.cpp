#include "suite/store/Database.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "suite/store/ChangeLog.h"
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

// Who this process runs as, "user@host", for the change log.
std::string ClientName() {
    static const std::string kName = [] {
        const passwd* user = ::getpwuid(::geteuid());
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        return std::string(user ? user->pw_name : "?") + "@" + host;
    }();
    return kName;
}

// An SQLite file is judged on a connection that cannot change it: a file of another program
// may hold the journal of an interrupted write, which a writing connection would roll back.
// Returns the connection the session then uses, how free queries open theirs, and whether the
// session may write.
struct OpenedFile {
    std::unique_ptr<Connection> connection;
    OpenMode readOnlyMode;
    bool writable;
};
OpenedFile OpenSqliteFile(const StoreLocation& location) {
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
        return {std::move(probe), mode, false};
    }
    return {Connect(location, OpenMode::ReadWrite), OpenMode::ReadOnly, true};
}

}  // namespace

std::shared_ptr<Database> Database::Open(const StoreLocation& location) {
    if (location.kind == StoreLocation::Kind::SQLite) {
        OpenedFile file = OpenSqliteFile(location);
        auto database =
            std::shared_ptr<Database>(new Database(location, std::move(file.connection)));
        database->readOnlyMode_ = file.readOnlyMode;
        database->writable_ = file.writable;
        database->schemaVersion_ =
            database->Reading([&] { return schema::VersionOf(*database->connection_); });
        return database;
    }
    auto database =
        std::shared_ptr<Database>(new Database(location, Connect(location, OpenMode::ReadWrite)));
    const int version =
        database->Reading([&] { return schema::VersionOf(*database->connection_); });
    schema::CheckReadable(version, location.Describe());
    database->schemaVersion_ = version;
    // The log's triggers name the client of every change this connection makes.
    database->connection_->Run("SELECT set_config('quarn.client', $1, false)", {ClientName()});
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

std::vector<RecordTable::Row> Database::ReadTyped(const std::string& sql,
                                                  const std::vector<ColumnSpec>& columns,
                                                  const std::vector<Variant>& parameters) {
    auto lock = Lock();
    return connection_->ReadTyped(sql, columns, parameters);
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
    if (schemaVersion_ < 2) {
        return connection_->Run("SELECT FSeq FROM t_DataFlowChangeSeq", {});
    }
    return connection_->Run(
        std::string(IsPostgreSQL() ? changelog::kLastChangePostgres : changelog::kLastChangeSqlite),
        {});
}

void Database::BeginWrite() {
    auto lock = Lock();
    if (!writable_) {
        RaiseStoreError(StoreError::WriteProtected, "Database", messages::kWriteProtected,
                        location_.Describe());
    }
    connection_->BeginWrite();
    transactionLock_ = std::move(lock);
    inTransaction_ = true;
    writing_ = true;
    written_.clear();
    try {
        if (schemaVersion_ != schema::kCurrentVersion) {
            const int version = schema::VersionOf(*connection_);
            schema::CheckReadable(version, location_.Describe());
            schema::Migrate(*connection_, version);
        }
        if (IsPostgreSQL()) {
            // Taking the number first queues writers on the counter instead of deadlocking
            // over the rows they touch.
            changeBefore_ = connection_->Run("SELECT quarn_change_number()", {}) - 1;
        } else {
            changeBefore_ = connection_->Run(std::string(changelog::kLastChangeSqlite), {});
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

int64_t Database::Change(const std::string& sql, const std::vector<Variant>& parameters) {
    auto lock = Lock();
    return connection_->Change(sql, parameters);
}

void Database::RecordChange(std::string_view table, int64_t itemId,
                            std::optional<std::vector<std::pair<std::string, Variant>>> values) {
    auto lock = Lock();
    written_.push_back({std::string(table), itemId, std::move(values)});
}

int64_t Database::StampOwnRows() {
    if (IsPostgreSQL()) {
        // One number for the whole transaction, the one every row was stamped with.
        const int64_t number = changeBefore_ + 1;
        for (WrittenRow& row : written_) {
            if (row.values) {
                row.values->emplace_back("FVersion", number);
            }
        }
        return number;
    }
    // SQLite numbers each logged row: a row's version is the number of its last change.
    const auto changes = connection_->QueryTyped(
        "SELECT FSeq, FTableName, FItemID FROM t_DataFlowChangeLog WHERE FSeq > $1",
        {{"FSeq", ColumnSpec::Type::Integer},
         {"FTableName", ColumnSpec::Type::Text},
         {"FItemID", ColumnSpec::Type::Integer}},
        {changeBefore_});
    std::map<std::pair<std::string, int64_t>, int64_t> versions;
    int64_t last = changeBefore_;
    for (const uint32_t row : changes->LiveRows()) {
        const int64_t number = changes->Value(row, 0).ToInt64();
        last = std::max(last, number);
        auto& version =
            versions[{changes->Value(row, 1).ToText(), changes->Value(row, 2).ToInt64()}];
        version = std::max(version, number);
    }
    for (WrittenRow& row : written_) {
        if (row.values) {
            row.values->emplace_back("FVersion", versions[{row.table, row.id}]);
        }
    }
    if (last > changeBefore_) {
        // SQLite cannot tell the triggers who writes: this connection names itself afterwards.
        connection_->Run("UPDATE t_DataFlowChangeLog SET FClient = $1 WHERE FSeq > $2",
                         {ClientName(), changeBefore_});
    }
    return last;
}

void Database::NoteNextWrite(std::string note) {
    auto lock = Lock();
    note_ = std::move(note);
}

void Database::Commit() {
    auto lock = Lock();
    int64_t sequence = 0;
    try {
        if (writing_) {
            sequence = StampOwnRows();
            if (!note_.empty()) {
                // Only this transaction's rows: later numbers wait for its commit.
                connection_->Run("UPDATE t_DataFlowChangeLog SET FNote = $1 WHERE FSeq > $2",
                                 {note_, changeBefore_});
            }
        }
        connection_->Execute("COMMIT");
        schemaVersion_ = writing_ ? schema::kCurrentVersion : schemaVersion_;
    } catch (...) {
        Rollback();
        throw;
    }
    if (writing_) {
        lastCommit_ = {changeBefore_, sequence, std::move(written_)};
        note_.clear();
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
    note_.clear();
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
