#include "suite/store/Database.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "suite/store/ChangeLog.h"
#include "suite/store/ChangeSeal.h"
#include "suite/store/FreeQueryGuard.h"
#include "suite/store/LogProtection.h"
#include "suite/store/PostgresConnection.h"
#include "suite/store/Schema.h"
#include "suite/store/SearchIndex.h"
#include "suite/store/SqliteConnection.h"
#include "suite/store/StoreErrors.h"
#include "suite/store/StoreMessages.h"
#include "suite/store/ValueRules.h"

namespace quarn::suite {

std::unique_ptr<Connection> Connect(const StoreLocation& location, OpenMode mode) {
    if (location.kind == StoreLocation::Kind::PostgreSQL) {
        return std::make_unique<PostgresConnection>(location.PostgresConninfo(),
                                                    location.busyTimeoutSeconds, location.Name());
    }
    const auto sqliteMode = mode == OpenMode::Create       ? SqliteConnection::Mode::Create
                            : mode == OpenMode::ReadOnly   ? SqliteConnection::Mode::ReadOnly
                            : mode == OpenMode::Unchanging ? SqliteConnection::Mode::Unchanging
                                                           : SqliteConnection::Mode::ReadWrite;
    return std::make_unique<SqliteConnection>(location.target, sqliteMode,
                                              location.busyTimeoutSeconds, location.Name());
}

Database::Database(StoreLocation location, std::unique_ptr<Connection> connection)
    : location_(std::move(location)), connection_(std::move(connection)) {}

Database::~Database() {
    Rollback();
}

namespace {

// The OS user this process runs as: who made a change on SQLite, which knows no users.
std::string OsUser() {
    static const std::string kUser = [] {
        const passwd* user = ::getpwuid(::geteuid());
        return std::string(user ? user->pw_name : "?");
    }();
    return kUser;
}

// What a change came through, "user@host", for the change log.
std::string ClientName() {
    static const std::string kName = [] {
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        return OsUser() + "@" + host;
    }();
    return kName;
}

constexpr std::string_view kUnprotected =
    "%1的变更记录失去了保护，已拒绝写入（读取不受影响）：%2。请由数据库所有者运行 subsysmgr "
    "repair 恢复。";

constexpr std::string_view kRepairNeedsOwner =
    "只有%1中变更记录的所有者才能恢复其保护，未做任何更改。";

// A log row of its own for a repair: the log's table, no item.
constexpr std::string_view kRepairRowSqlite =
    "INSERT INTO t_DataFlowChangeLog (FSeq, FTime, FOperation, FTableName, FItemID) VALUES "
    "((SELECT "
    "max(coalesce((SELECT max(FSeq) FROM t_DataFlowChangeLog), 0), (SELECT FSeq FROM "
    "t_DataFlowChangePruned))) + 1, strftime('%Y-%m-%dT%H:%M:%fZ', 'now'), 'REPAIR', "
    "'t_DataFlowChangeLog', 0)";
constexpr std::string_view kRepairRowPostgres =
    "INSERT INTO t_DataFlowChangeLog (FOperation, FTableName, FItemID) VALUES ('REPAIR', "
    "'t_DataFlowChangeLog', 0)";

// An SQLite file is judged on a connection that cannot change it: a file of another program
// may hold the journal of an interrupted write, which a writing connection would roll back.
// Returns the connection the session then uses, how free queries open theirs, and whether the
// session may write.
struct OpenedFile {
    std::unique_ptr<Connection> connection;
    OpenMode readOnlyMode;
    bool writable;
    bool diskFull = false;  // not writable because nothing can be created beside the file
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
            schema::CheckReadable(0, location.Name());  // another program's journal
        }
        const bool diskFull = failure.Error() == StoreError::DiskFull;
        if ((failure.Error() != StoreError::Unavailable && !diskFull) ||
            mode == OpenMode::Unchanging) {
            throw;
        }
        if (diskFull) {
            // The shared memory beside the file cannot grow: read it as it is, refuse writes as
            // what they are.
            probe = Connect(location, OpenMode::Unchanging);
            schema::CheckReadable(schema::VersionOf(*probe), location.Name());
            return {std::move(probe), OpenMode::Unchanging, false, true};
        }
        // Shared memory that cannot be created beside the file: read-only media.
        mode = OpenMode::Unchanging;
        probe = Connect(location, mode);
        version = schema::VersionOf(*probe);
    }
    schema::CheckReadable(version, location.Name());
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
        database->diskFull_ = file.diskFull;
        database->schemaVersion_ =
            database->Reading([&] { return schema::VersionOf(*database->connection_); });
        return database;
    }
    auto database =
        std::shared_ptr<Database>(new Database(location, Connect(location, OpenMode::ReadWrite)));
    const int version =
        database->Reading([&] { return schema::VersionOf(*database->connection_); });
    schema::CheckReadable(version, location.Name());
    database->schemaVersion_ = version;
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

void Database::Each(const std::string& sql, const std::vector<Variant>& parameters,
                    const std::function<void(const RowView&)>& row) {
    auto lock = Lock();
    connection_->Each(sql, parameters, row);
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

bool Database::HasSearchIndex() {
    auto lock = Lock();
    return search::Indexed(*connection_);
}

void Database::BeginWrite() {
    auto lock = Lock();
    if (!writable_) {
        if (diskFull_) {
            RaiseStoreError(StoreError::DiskFull, "Database", messages::kDiskFull,
                            location_.Name());
        }
        RaiseStoreError(StoreError::WriteProtected, "Database", messages::kWriteProtected,
                        location_.Name());
    }
    connection_->BeginWrite();
    transactionLock_ = std::move(lock);
    inTransaction_ = true;
    writing_ = true;
    written_.clear();
    try {
        if (schemaVersion_ != schema::kCurrentVersion) {
            const int version = schema::VersionOf(*connection_);
            schema::CheckReadable(version, location_.Name());
            schema::Migrate(*connection_, version);
        }
        if (!repairing_) {
            CheckProtections();
        }
        if (IsPostgreSQL() && !repairing_) {
            // Taking the number first queues writers on the counter instead of deadlocking
            // over the rows they touch.
            changeBefore_ = TakeChangeNumber(note_);
        } else if (!IsPostgreSQL()) {
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

int64_t Database::TakeChangeNumber(const std::string& note) {
    return connection_->Run(
               "SELECT quarn_change_number(), set_config('quarn.client', $1, true), "
               "set_config('quarn.note', $2, true)",
               {ClientName(), note}) -
           1;
}

void Database::CheckProtections() {
    int64_t schemaVersion = 0;
    if (IsPostgreSQL()) {
        if (protectionsChecked_) {
            return;
        }
    } else {
        // Dropping or creating a trigger changes the schema's version: look again only then.
        schemaVersion = connection_->Run("PRAGMA schema_version", {});
        if (schemaVersion == protectedSchemaVersion_) {
            return;
        }
    }
    const std::vector<std::string> missing = changelog::MissingProtections(*connection_);
    if (!missing.empty()) {
        std::string list;
        for (const std::string& entry : missing) {
            list += (list.empty() ? "" : "; ") + entry;
        }
        RaiseStoreError(StoreError::Unprotected, "Database", kUnprotected, location_.Name(), list);
    }
    protectionsChecked_ = true;
    protectedSchemaVersion_ = schemaVersion;
}

std::vector<std::string> Database::MissingProtections() {
    return Reading([&] {
        constexpr int kProtectedVersion = 5;  // the first with the log's protections
        if (schema::VersionOf(*connection_) < kProtectedVersion) {
            return std::vector<std::string>{};
        }
        return changelog::MissingProtections(*connection_);
    });
}

std::vector<std::string> Database::MissingValueRules() {
    return Reading([&] {
        constexpr int kRulesVersion = 7;  // the first with the rules on values
        if (schema::VersionOf(*connection_) < kRulesVersion) {
            return std::vector<std::string>{};
        }
        return valuerules::Missing(*connection_);
    });
}

std::vector<std::string> Database::Repair() {
    auto lock = Lock();
    repairing_ = true;
    try {
        BeginWrite();
    } catch (...) {
        repairing_ = false;
        throw;
    }
    repairing_ = false;
    std::vector<std::string> missing;
    try {
        missing = changelog::MissingProtections(*connection_);
        const std::vector<std::string> rules = valuerules::Missing(*connection_);
        missing.insert(missing.end(), rules.begin(), rules.end());
        search::Ensure(*connection_);  // a search index dropped, or one the engine can make now
        changelog::Protect(*connection_);
        valuerules::Restore(*connection_);
        std::string note = "repair";
        for (std::size_t i = 0; i < missing.size(); ++i) {
            note += (i == 0 ? ": " : "; ") + missing[i];
        }
        note_ = note;
        if (IsPostgreSQL()) {
            // The counter's function may have been what was missing: its number comes now.
            changeBefore_ = TakeChangeNumber(note);
            connection_->Run(std::string(kRepairRowPostgres), {});
        } else {
            connection_->Run(std::string(kRepairRowSqlite), {});
        }
        Commit();
    } catch (const StoreFailure& failure) {
        Rollback();
        if (IsPostgreSQL() && failure.Error() == StoreError::WriteProtected) {
            // Not read-only: the functions and grants are the owner's to put back.
            RaiseEngineFailure(StoreError::WriteProtected, kRepairNeedsOwner, location_.Name(),
                               failure.EngineCode());
        }
        throw;
    } catch (...) {
        Rollback();
        throw;
    }
    protectionsChecked_ = false;
    protectedSchemaVersion_ = -1;
    return missing;
}

namespace {

SealCheck VerifySealsOf(Connection& connection, const std::optional<ChainHead>& exported) {
    if (schema::VersionOf(connection) < changelog::kFirstSealedVersion) {
        SealCheck check;
        check.finding = SealCheck::Finding::NotSealed;
        return check;
    }
    return changelog::VerifySeals(connection, exported);
}

}  // namespace

SealCheck Database::VerifySeals(const std::optional<ChainHead>& exported) {
    if (IsPostgreSQL()) {
        return Reading([&] { return VerifySealsOf(*connection_, exported); });
    }
    // SQLite: the chain is walked on a connection of its own, outside this one's lock, so that a
    // long walk goes on beside the session's other reads (the check reads the tree meanwhile). It
    // sees what is committed.
    const std::unique_ptr<Connection> apart = Connect(location_, readOnlyMode_);
    apart->BeginRead();
    SealCheck check = VerifySealsOf(*apart, exported);
    apart->Execute("ROLLBACK");
    return check;
}

ChainHead Database::SealHead() {
    return Reading([&] {
        if (schema::VersionOf(*connection_) < changelog::kFirstSealedVersion) {
            return ChainHead{};
        }
        return changelog::SealHead(*connection_);
    });
}

bool Database::SealBroken(int64_t number) {
    return Reading([&] {
        return schema::VersionOf(*connection_) >= changelog::kFirstSealedVersion &&
               changelog::SealBroken(*connection_, number);
    });
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
    // SQLite numbers each logged row: a row's version is the number of its last change. The
    // rows are stamped for this transaction and sealed here, with any that another program
    // logged since this program last wrote.
    const std::vector<changelog::LogRow> sealed = changelog::SealNewRows(
        *connection_, changelog::OwnStamp{changeBefore_, OsUser(), ClientName(), note_});
    std::map<std::pair<std::string, int64_t>, int64_t> versions;
    int64_t last = changeBefore_;
    for (const changelog::LogRow& row : sealed) {
        const int64_t number = row.Number();
        last = std::max(last, number);
        if (number > changeBefore_) {
            auto& version = versions[{row.Table(), row.Item()}];
            version = std::max(version, number);
        }
    }
    for (WrittenRow& row : written_) {
        if (row.values) {
            row.values->emplace_back("FVersion", versions[{row.table, row.id}]);
        }
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
    rolledBackWrites_ += writing_ ? 1 : 0;
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
                        location_.Name());
    }
    CheckFreeQuery(sql, location_.Name());
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
            RaiseEngineFailure(StoreError::ReadOnly, messages::kFreeQueryRefused, location_.Name(),
                               failure.EngineCode());
        }
        throw;
    }
}

}  // namespace quarn::suite
