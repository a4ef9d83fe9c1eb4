#include "suite/store/Database.h"

#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <ctime>
#include <deque>
#include <map>
#include <unordered_map>

#include "foundation/Utf8Text.h"
#include "suite/ContextEntries.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace sql {
extern const std::string_view kSchemaV1;
extern const std::string_view kDemoData;
}  // namespace sql

namespace {

// The store's own tables: the schema version and the change sequence that lets readers
// bring a snapshot up to date with only what changed.
constexpr std::string_view kBookkeepingV1 = R"(
CREATE TABLE t_SchemaVersion (FVersion INTEGER NOT NULL);
CREATE TABLE t_DataFlowChangeSeq (FSeq BIGINT NOT NULL);
INSERT INTO t_DataFlowChangeSeq (FSeq) VALUES (0);
CREATE TABLE t_DataFlowChange (
    FSeq BIGINT NOT NULL,
    FTableName TEXT NOT NULL,
    FItemID INTEGER NOT NULL
);
CREATE INDEX ix_change_seq ON t_DataFlowChange (FSeq);
)";

struct Migration {
    int version;
    std::array<std::string_view, 2> scripts;
};
const std::array kMigrations{
    Migration{1, {sql::kSchemaV1, kBookkeepingV1}},
};

std::string Lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool Mentions(const std::string& lowerText, std::initializer_list<std::string_view> needles) {
    return std::any_of(needles.begin(), needles.end(), [&](std::string_view needle) {
        return lowerText.find(needle) != std::string::npos;
    });
}

// What a refused write means, in the words of the item it was about.
std::string ExplainRefusal(const std::string& lower) {
    const bool group = Mentions(lower, {"topclass"}) && !Mentions(lower, {"subsystem"});
    const std::string item = group ? "group" : "subsystem";
    const std::string siblings = group ? "another group" : "another subsystem of the same group";
    if (Mentions(lower, {"name_chs", "fname,"}) ||
        (Mentions(lower, {"fname"}) && !Mentions(lower, {"name_cht", "name_en"}))) {
        return siblings + " already has this simplified Chinese name";
    }
    if (Mentions(lower, {"name_cht"})) {
        return siblings + " already has this traditional Chinese name";
    }
    if (Mentions(lower, {"name_en"})) {
        return siblings + " already has this English name";
    }
    if (Mentions(lower, {"foreign key"})) {
        return "a subsystem would be left without its group (the group does not exist, or it "
               "still has subsystems)";
    }
    return "the " + item + " identifier is already taken";
}

std::string SqliteConnectString(const std::string& file, int busyTimeoutSeconds) {
    // Blanks or quotes in a path need the quoted form of the connect string.
    std::string quoted = "\"";
    for (const char c : file) {
        if (c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return "db=" + quoted + "\" timeout=" + std::to_string(busyTimeoutSeconds);
}

template <class T>
T& Keep(std::deque<T>& storage, T value) {
    return storage.emplace_back(std::move(value));
}

std::mutex sharedMutex;
std::map<std::string, std::shared_ptr<Database>> sharedDatabases;

}  // namespace

// SQLite statements prepared once per connection: preparing costs more than running the
// small statements of a save.
struct Database::PreparedStatements {
    std::unordered_map<std::string, sqlite_api::sqlite3_stmt*> statements;
    ~PreparedStatements() {
        for (auto& [sql, statement] : statements) {
            sqlite_api::sqlite3_finalize(statement);
        }
    }
};

Database::Database(StoreLocation location, std::unique_ptr<soci::session> session)
    : location_(std::move(location)),
      session_(std::move(session)),
      prepared_(std::make_unique<PreparedStatements>()) {}

Database::~Database() {
    if (inTransaction_) {
        try {
            Rollback();
        } catch (...) {
            // The connection goes away with its transaction.
        }
    }
    prepared_.reset();  // before the connection closes
}

int64_t Database::Run(const std::string& sql, const std::vector<Variant>& parameters,
                      std::string_view what) {
    auto lock = Lock();
    if (IsPostgreSQL()) {
        try {
            std::deque<long long> integers;
            std::deque<double> doubles;
            std::deque<std::string> texts;
            std::deque<soci::indicator> indicators;
            long long first = 0;
            soci::indicator firstIndicator = soci::i_null;
            soci::statement statement(*session_);
            for (const Variant& value : parameters) {
                auto& indicator = Keep(indicators, value.IsNull() ? soci::i_null : soci::i_ok);
                if (value.Type() == VariantType::Double) {
                    statement.exchange(soci::use(Keep(doubles, value.ToDouble()), indicator));
                } else if (value.IsNumeric()) {
                    statement.exchange(soci::use(
                        Keep(integers, static_cast<long long>(value.ToInt64())), indicator));
                } else {
                    statement.exchange(soci::use(Keep(texts, value.TextOrEmpty()), indicator));
                }
            }
            const bool returns = Lower(sql).find("returning") != std::string::npos;
            if (returns) {
                statement.exchange(soci::into(first, firstIndicator));
            }
            statement.alloc();
            statement.prepare(sql);
            statement.define_and_bind();
            statement.execute(true);
            return returns ? first : 0;
        } catch (const std::exception& error) {
            RaiseDriverError(error, what);
        }
    }
    using namespace sqlite_api;
    auto* connection = static_cast<soci::sqlite3_session_backend*>(session_->get_backend())->conn_;
    sqlite3_stmt*& statement = prepared_->statements[sql];
    if (!statement && sqlite3_prepare_v2(connection, sql.c_str(), static_cast<int>(sql.size()),
                                         &statement, nullptr) != SQLITE_OK) {
        prepared_->statements.erase(sql);
        RaiseDriverError(std::runtime_error(sqlite3_errmsg(connection)), what);
    }
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const int position = static_cast<int>(i + 1);
        const Variant& value = parameters[i];
        if (value.IsNull() || value.IsEmpty()) {
            sqlite3_bind_null(statement, position);
        } else if (value.Type() == VariantType::Double) {
            sqlite3_bind_double(statement, position, value.ToDouble());
        } else if (value.IsNumeric()) {
            sqlite3_bind_int64(statement, position, value.ToInt64());
        } else {
            const std::string text = value.ToText();
            sqlite3_bind_text(statement, position, text.c_str(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
        }
    }
    const int step = sqlite3_step(statement);
    const int64_t first = step == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    const std::string error =
        (step == SQLITE_ROW || step == SQLITE_DONE) ? "" : sqlite3_errmsg(connection);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (!error.empty()) {
        RaiseDriverError(std::runtime_error(error), what);
    }
    return first;
}

std::shared_ptr<Database> Database::Open(const StoreLocation& location, OpenOptions options) {
    std::unique_ptr<soci::session> session;
    try {
        if (location.kind == StoreLocation::Kind::SQLite) {
            const std::filesystem::path file(location.target);
            std::error_code error;
            if (!std::filesystem::exists(file, error)) {
                if (!options.createIfMissing) {
                    RaiseStoreError(
                        StoreError::Unavailable, "Database",
                        "Cannot open the " + location.Describe() + ": the file does not exist.");
                }
                if (file.has_parent_path()) {
                    std::filesystem::create_directories(file.parent_path(), error);
                }
            }
            session = std::make_unique<soci::session>(
                static_cast<const soci::backend_factory&>(soci::sqlite3),
                SqliteConnectString(location.target, location.busyTimeoutSeconds));
            *session << "PRAGMA foreign_keys = ON";
            *session << "PRAGMA journal_mode = WAL";
        } else {
            session = std::make_unique<soci::session>(
                static_cast<const soci::backend_factory&>(soci::postgresql), location.target);
            *session << "SET lock_timeout = '" + std::to_string(location.busyTimeoutSeconds) + "s'";
            *session << "SET client_min_messages = WARNING";
        }
    } catch (const ComError&) {
        throw;
    } catch (const std::exception& error) {
        const std::string lower = Lower(error.what());
        RaiseStoreError(
            Mentions(lower, {"locked", "busy"}) ? StoreError::Busy : StoreError::Unavailable,
            "Database", "Cannot open the " + location.Describe() + ": " + error.what());
    }
    auto database = std::shared_ptr<Database>(new Database(location, std::move(session)));
    database->EnsureSchema(options.loadDemoData);
    return database;
}

std::shared_ptr<Database> Database::Shared(const StoreLocation& location) {
    std::lock_guard lock(sharedMutex);
    auto& database = sharedDatabases[location.Key()];
    if (!database) {
        try {
            database = Open(location, {location.demo, location.demo});
        } catch (...) {
            sharedDatabases.erase(location.Key());
            throw;
        }
    }
    return database;
}

std::shared_ptr<Database> Database::ForContext(std::string_view context) {
    return Shared(StoreLocation::FromContext(context));
}

void Database::CloseShared() {
    std::lock_guard lock(sharedMutex);
    sharedDatabases.clear();
}

void Database::RaiseDriverError(const std::exception& error, std::string_view what) {
    const std::string message = error.what();
    // What kind of failure it was comes from the driver's own words: the statement that SOCI
    // adds as context names every column it writes.
    const auto* driverError = dynamic_cast<const soci::soci_error*>(&error);
    const std::string lower = Lower(driverError ? driverError->get_error_message() : message);
    const std::string where = " (" + location_.Describe() + ")";
    // A PostgreSQL writer chosen to break a deadlock with another writer is rolled back like
    // one that waited too long: trying again is the answer to both.
    if (Mentions(lower, {"database is locked", "busy", "lock timeout", "could not obtain lock",
                         "deadlock detected"})) {
        RaiseStoreError(StoreError::Busy, std::string(what),
                        "The database is busy: another user is writing. Try again." + where);
    }
    if (Mentions(lower, {"unique constraint", "duplicate key", "foreign key"})) {
        RaiseStoreError(StoreError::Refused, std::string(what),
                        "Not saved: " + ExplainRefusal(lower) + "." + where);
    }
    if (Mentions(lower, {"unable to open", "not a database", "could not connect", "connection",
                         "disk i/o", "no such table"})) {
        RaiseStoreError(StoreError::Unavailable, std::string(what),
                        "Cannot use the " + location_.Describe() + ": " + message);
    }
    RaiseStoreError(StoreError::QueryFailed, std::string(what), message + where);
}

void Database::Execute(const std::string& statement, std::string_view what) {
    auto lock = Lock();
    try {
        *session_ << statement;
    } catch (const std::exception& error) {
        RaiseDriverError(error, what);
    }
}

void Database::RunScript(std::string_view script, std::string_view what) {
    std::string statement;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string_view::npos) {
            end = script.size();
        }
        const std::string_view line = text::TrimBlanks(script.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.rfind("--", 0) == 0) {
            continue;
        }
        statement.append(line).push_back('\n');
        if (line.back() == ';') {
            statement.pop_back();  // the newline
            statement.pop_back();  // the semicolon
            Execute(statement, what);
            statement.clear();
        }
    }
}

bool Database::HasTable(std::string_view table) {
    int count = 0;
    const std::string name(table);
    if (IsPostgreSQL()) {
        *session_ << "SELECT count(*) FROM information_schema.tables WHERE table_name = lower(:t)",
            soci::into(count), soci::use(name);
    } else {
        *session_ << "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = :t",
            soci::into(count), soci::use(name);
    }
    return count > 0;
}

void Database::EnsureSchema(bool loadDemoData) {
    auto lock = Lock();
    Begin();
    try {
        if (IsPostgreSQL()) {
            *session_ << "SELECT pg_advisory_xact_lock(590042)";  // one creator at a time
        }
        int version = 0;
        const bool fresh = !HasTable("t_SchemaVersion");
        if (fresh && HasTable("t_DataFlowTopClass")) {
            RaiseStoreError(StoreError::Unavailable, "Database",
                            "The " + location_.Describe() +
                                " holds suite tables that this program did not create.");
        }
        if (!fresh) {
            *session_ << "SELECT max(FVersion) FROM t_SchemaVersion", soci::into(version);
        }
        if (version > kSchemaVersion) {
            RaiseStoreError(StoreError::NewerSchema, "Database",
                            "The " + location_.Describe() + " has schema version " +
                                std::to_string(version) + "; this program knows versions up to " +
                                std::to_string(kSchemaVersion) + ". Use a newer program.");
        }
        for (const Migration& migration : kMigrations) {
            if (migration.version <= version) {
                continue;
            }
            for (const std::string_view script : migration.scripts) {
                RunScript(script, "Database.Migrate");
            }
            Execute("INSERT INTO t_SchemaVersion (FVersion) VALUES (" +
                        std::to_string(migration.version) + ")",
                    "Database.Migrate");
        }
        if (fresh && loadDemoData) {
            RunScript(sql::kDemoData, "Database.DemoData");
        }
        Commit();
    } catch (const ComError&) {
        Rollback();
        throw;
    } catch (const std::exception& error) {
        Rollback();
        RaiseDriverError(error, "Database.Open");
    }
}

void Database::Begin() {
    auto lock = Lock();
    Run(IsPostgreSQL() ? "BEGIN" : "BEGIN IMMEDIATE", {}, "Database.Begin");
    transactionLock_ = std::move(lock);
    inTransaction_ = true;
    transactionSequence_ = 0;
}

void Database::Commit() {
    try {
        Run("COMMIT", {}, "Database.Commit");
    } catch (const ComError&) {
        Rollback();
        throw;
    }
    inTransaction_ = false;
    transactionLock_ = {};
}

void Database::Rollback() {
    if (!inTransaction_) {
        return;
    }
    inTransaction_ = false;
    auto lock = std::move(transactionLock_);
    Run("ROLLBACK", {}, "Database.Rollback");
}

int64_t Database::ChangeSequence() {
    auto lock = Lock();
    long long sequence = 0;
    try {
        *session_ << "SELECT FSeq FROM t_DataFlowChangeSeq", soci::into(sequence);
    } catch (const std::exception& error) {
        RaiseDriverError(error, "Database.ChangeSequence");
    }
    return sequence;
}

void Database::BeginWrite() {
    Begin();
    try {
        // The row lock of the counter orders concurrent writers: numbers follow commits.
        transactionSequence_ = Run("UPDATE t_DataFlowChangeSeq SET FSeq = FSeq + 1 RETURNING FSeq",
                                   {}, "Database.BeginWrite");
    } catch (const ComError&) {
        Rollback();
        throw;
    }
}

void Database::RecordChange(std::string_view table, int64_t itemId) {
    auto lock = Lock();
    Run("INSERT INTO t_DataFlowChange (FSeq, FTableName, FItemID) VALUES (:s, :t, :i)",
        {transactionSequence_, std::string(table), itemId}, "Database.RecordChange");
}

std::shared_ptr<const RecordTable> Database::Query(const std::string& query,
                                                   std::string_view what) {
    auto lock = Lock();
    try {
        soci::row row;
        soci::statement statement = (session_->prepare << query, soci::into(row));
        bool more = statement.execute(true);
        std::vector<std::string> columns;
        for (std::size_t i = 0; i < row.size(); ++i) {
            columns.push_back(row.get_properties(i).get_name());
        }
        std::vector<RecordTable::Row> rows;
        while (more) {
            RecordTable::Row values;
            values.reserve(row.size());
            for (std::size_t i = 0; i < row.size(); ++i) {
                if (row.get_indicator(i) == soci::i_null) {
                    values.push_back(Variant::Null());
                    continue;
                }
                switch (row.get_properties(i).get_data_type()) {
                    case soci::dt_string:
                    case soci::dt_xml:
                    case soci::dt_blob:
                        values.emplace_back(row.get<std::string>(i));
                        break;
                    case soci::dt_integer:
                        values.emplace_back(int32_t{row.get<int>(i)});
                        break;
                    case soci::dt_long_long:
                        values.emplace_back(int64_t{row.get<long long>(i)});
                        break;
                    case soci::dt_unsigned_long_long:
                        values.emplace_back(static_cast<int64_t>(row.get<unsigned long long>(i)));
                        break;
                    case soci::dt_double:
                        values.emplace_back(row.get<double>(i));
                        break;
                    case soci::dt_date: {
                        const std::tm date = row.get<std::tm>(i);
                        char buffer[32];
                        std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &date);
                        values.emplace_back(std::string(buffer));
                        break;
                    }
                }
            }
            rows.push_back(std::move(values));
            more = statement.fetch();
        }
        return RecordTable::Create(std::move(columns), std::move(rows));
    } catch (const ComError&) {
        throw;
    } catch (const std::exception& error) {
        RaiseDriverError(error, what);
    }
}

std::shared_ptr<const RecordTable> Database::QueryTypedSqlite(
    const std::string& query, const std::vector<ColumnSpec>& columns, std::string_view what) {
    using namespace sqlite_api;
    auto* connection = static_cast<soci::sqlite3_session_backend*>(session_->get_backend())->conn_;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, query.c_str(), static_cast<int>(query.size()), &statement,
                           nullptr) != SQLITE_OK) {
        RaiseDriverError(std::runtime_error(sqlite3_errmsg(connection)), what);
    }
    std::vector<RecordTable::Row> rows;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        RecordTable::Row values;
        values.reserve(columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int column = static_cast<int>(c);
            if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
                values.push_back(Variant::Null());
            } else if (columns[c].type == ColumnSpec::Type::Integer) {
                values.emplace_back(int32_t{sqlite3_column_int(statement, column)});
            } else {
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
                values.emplace_back(std::string(
                    text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
            }
        }
        rows.push_back(std::move(values));
    }
    const std::string error = step == SQLITE_DONE ? "" : sqlite3_errmsg(connection);
    sqlite3_finalize(statement);
    if (!error.empty()) {
        RaiseDriverError(std::runtime_error(error), what);
    }
    std::vector<std::string> names;
    for (const ColumnSpec& column : columns) {
        names.push_back(column.name);
    }
    return RecordTable::Create(std::move(names), std::move(rows));
}

std::shared_ptr<const RecordTable> Database::QueryTyped(const std::string& query,
                                                        const std::vector<ColumnSpec>& columns,
                                                        std::string_view what) {
    constexpr std::size_t kBatch = 4096;
    auto lock = Lock();
    if (!IsPostgreSQL()) {
        return QueryTypedSqlite(query, columns, what);  // straight from the driver: the cold load
    }
    try {
        std::vector<std::vector<int>> integers(columns.size());
        std::vector<std::vector<std::string>> texts(columns.size());
        std::vector<std::vector<soci::indicator>> indicators(columns.size());
        soci::statement statement(*session_);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            indicators[c].resize(kBatch);
            if (columns[c].type == ColumnSpec::Type::Integer) {
                integers[c].resize(kBatch);
                statement.exchange(soci::into(integers[c], indicators[c]));
            } else {
                texts[c].resize(kBatch);
                statement.exchange(soci::into(texts[c], indicators[c]));
            }
        }
        statement.alloc();
        statement.prepare(query);
        statement.define_and_bind();
        statement.execute(false);

        std::vector<RecordTable::Row> rows;
        while (statement.fetch()) {
            const std::size_t fetched = indicators[0].size();
            for (std::size_t r = 0; r < fetched; ++r) {
                RecordTable::Row values;
                values.reserve(columns.size());
                for (std::size_t c = 0; c < columns.size(); ++c) {
                    if (indicators[c][r] == soci::i_null) {
                        values.push_back(Variant::Null());
                    } else if (columns[c].type == ColumnSpec::Type::Integer) {
                        values.emplace_back(int32_t{integers[c][r]});
                    } else {
                        values.emplace_back(std::move(texts[c][r]));
                    }
                }
                rows.push_back(std::move(values));
            }
            for (std::size_t c = 0; c < columns.size(); ++c) {
                indicators[c].resize(kBatch);
                (columns[c].type == ColumnSpec::Type::Integer) ? integers[c].resize(kBatch)
                                                               : texts[c].resize(kBatch);
            }
        }
        std::vector<std::string> names;
        for (const ColumnSpec& column : columns) {
            names.push_back(column.name);
        }
        return RecordTable::Create(std::move(names), std::move(rows));
    } catch (const std::exception& error) {
        RaiseDriverError(error, what);
    }
}

std::shared_ptr<const RecordTable> Database::QueryReadOnly(const std::string& query,
                                                           std::string_view what) {
    auto lock = Lock();
    if (inTransaction_) {
        RaiseStoreError(StoreError::QueryFailed, std::string(what),
                        "A free query cannot run inside a write transaction.");
    }
    try {
        *session_ << (IsPostgreSQL() ? "BEGIN READ ONLY" : "PRAGMA query_only = ON");
    } catch (const std::exception& error) {
        RaiseDriverError(error, what);
    }
    auto restore = [&] {
        try {
            *session_ << (IsPostgreSQL() ? "ROLLBACK" : "PRAGMA query_only = OFF");
        } catch (...) {
            // The query's own error, if any, is the one to report.
        }
    };
    try {
        auto table = Query(query, what);
        restore();
        return table;
    } catch (const ComError& error) {
        restore();
        const std::string lower = Lower(error.Description());
        if (Mentions(lower, {"readonly", "read-only", "read only", "query_only"})) {
            RaiseStoreError(StoreError::ReadOnly, std::string(what),
                            "Free queries may only read; this statement would write: " + query);
        }
        throw;
    }
}

}  // namespace quarn::suite
