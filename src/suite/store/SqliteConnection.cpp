#include "suite/store/SqliteConnection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "foundation/Utf8Text.h"
#include "suite/store/EngineErrors.h"

namespace quarn::suite {

namespace {

Variant IntegerValue(int64_t value) {
    if (value >= INT32_MIN && value <= INT32_MAX) {
        return Variant(static_cast<int32_t>(value));
    }
    return Variant(value);
}

// The file as a URI that tells SQLite it never changes, so that reading it creates no
// shared-memory or log file beside it. Every byte but unreserved ones is percent-encoded.
std::string ImmutableUri(const std::filesystem::path& file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : std::filesystem::absolute(file).string()) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xF];
        }
    }
    return uri + "?immutable=1";
}

// Raises what the failure means to the store, keeping SQLite's code.
[[noreturn]] void RaiseSqliteFailure(int extendedResultCode, int systemErrno,
                                     const DatabaseName& description) {
    const EngineFailure failure = ClassifySqliteFailure(extendedResultCode, systemErrno);
    RaiseEngineFailure(failure.error, failure.messageTemplate, description,
                       SqliteEngineCode(extendedResultCode));
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

// quarn_fold(text): the text folded as text::FoldCase folds it (SQLite's lower() folds ASCII
// only); NULL stays NULL.
void FoldCaseFunction(sqlite3_context* context, int, sqlite3_value** values) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
    if (!text) {
        sqlite3_result_null(context);
        return;
    }
    const std::string folded = text::FoldCase(
        std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(values[0]))));
    sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

}  // namespace

SqliteConnection::SqliteConnection(const std::filesystem::path& file, Mode mode,
                                   int busyTimeoutSeconds, DatabaseName description)
    : description_(std::move(description)) {
    std::error_code ignored;
    if (mode != Mode::Create && !std::filesystem::exists(file, ignored)) {
        RaiseStoreError(StoreError::NoDatabase, "Database", "无法打开%1：文件不存在。",
                        description_);
    }
    const int flags = mode == Mode::ReadOnly     ? SQLITE_OPEN_READONLY
                      : mode == Mode::Unchanging ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI
                      : mode == Mode::Create     ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                                 : SQLITE_OPEN_READWRITE;
    const std::string name = mode == Mode::Unchanging ? ImmutableUri(file) : file.string();
    if (sqlite3_open_v2(name.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const int code = db_ ? sqlite3_extended_errcode(db_) : SQLITE_CANTOPEN;
        const int systemErrno = db_ ? sqlite3_system_errno(db_) : 0;
        sqlite3_close_v2(db_);
        db_ = nullptr;
        RaiseSqliteFailure(code, systemErrno, description_);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutSeconds * 1000);
    // Connection settings only: nothing of this is written to the file.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_FKEY, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // The change log's triggers build JSON, which SQLite 3.40 refuses in a schema it does not
    // trust; only a file already judged ours is opened for writing. Readers trust nothing.
    const bool writer = mode == Mode::ReadWrite || mode == Mode::Create;
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, writer ? 1 : 0, nullptr);
    sqlite3_create_function_v2(db_, kFoldFunction, 1,
                               SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                               FoldCaseFunction, nullptr, nullptr, nullptr);
    for (const char* control : {"BEGIN", "BEGIN IMMEDIATE", "COMMIT", "ROLLBACK"}) {
        Prepared(control);
    }
}

SqliteConnection::~SqliteConnection() {
    for (auto& [sql, statement] : prepared_) {
        sqlite3_finalize(statement.handle);
    }
    sqlite3_close_v2(db_);
}

void SqliteConnection::RaiseLastError() {
    RaiseSqliteFailure(sqlite3_extended_errcode(db_), sqlite3_system_errno(db_), description_);
}

sqlite3_stmt* SqliteConnection::PrepareOnce(const std::string& sql, std::string* tail) {
    sqlite3_stmt* statement = nullptr;
    const char* rest = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, &rest) !=
        SQLITE_OK) {
        sqlite3_finalize(statement);
        RaiseLastError();
    }
    if (tail) {
        *tail = rest ? std::string(rest) : std::string();
    }
    return statement;
}

const SqliteConnection::Statement& SqliteConnection::Prepared(const std::string& sql) {
    if (const auto it = prepared_.find(sql); it != prepared_.end()) {
        return it->second;
    }
    Statement statement{PrepareOnce(sql), {}};
    // Values are numbered $1, $2, ...; their positions are looked up once, not per execution.
    for (int position = 1; position <= sqlite3_bind_parameter_count(statement.handle); ++position) {
        const char* name = sqlite3_bind_parameter_name(statement.handle, position);
        if (name && name[0] == '$' && std::isdigit(static_cast<unsigned char>(name[1]))) {
            const auto number = static_cast<std::size_t>(std::atoi(name + 1));
            statement.positions.resize(std::max(statement.positions.size(), number));
            statement.positions[number - 1] = position;
        }
    }
    return prepared_.emplace(sql, std::move(statement)).first->second;
}

void SqliteConnection::Bind(const Statement& statement, const std::vector<Variant>& parameters) {
    sqlite3_stmt* handle = statement.handle;
    for (std::size_t i = 0; i < parameters.size() && i < statement.positions.size(); ++i) {
        const int position = statement.positions[i];
        if (position == 0) {
            continue;  // the statement does not use this value
        }
        const Variant& value = parameters[i];
        if (value.IsNull() || value.IsEmpty()) {
            sqlite3_bind_null(handle, position);
        } else if (value.Type() == VariantType::Double) {
            sqlite3_bind_double(handle, position, value.ToDouble());
        } else if (value.IsNumeric()) {
            sqlite3_bind_int64(handle, position, value.ToInt64());
        } else {
            const std::string text = value.ToText();
            sqlite3_bind_text(handle, position, text.c_str(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
        }
    }
}

template <class OnRow>
void SqliteConnection::Step(sqlite3_stmt* statement, OnRow&& row) {
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        row(statement);
    }
    if (step != SQLITE_DONE) {
        const int code = sqlite3_extended_errcode(db_);
        const int systemErrno = sqlite3_system_errno(db_);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        RaiseSqliteFailure(code, systemErrno, description_);
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

void SqliteConnection::Execute(const std::string& sql) {
    // Transaction control runs on every save and read: kept prepared like the queries.
    if (const auto it = prepared_.find(sql); it != prepared_.end()) {
        Step(it->second.handle, [](sqlite3_stmt*) {});
        return;
    }
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        RaiseLastError();
    }
}

int64_t SqliteConnection::Run(const std::string& sql, const std::vector<Variant>& parameters) {
    const Statement& prepared = Prepared(sql);
    Bind(prepared, parameters);
    sqlite3_stmt* statement = prepared.handle;
    int64_t first = 0;
    bool seen = false;
    Step(statement, [&](sqlite3_stmt* current) {
        if (!seen) {
            first = sqlite3_column_int64(current, 0);
            seen = true;
        }
    });
    return first;
}

int64_t SqliteConnection::Change(const std::string& sql, const std::vector<Variant>& parameters) {
    Run(sql, parameters);
    return sqlite3_changes64(db_);
}

std::shared_ptr<const RecordTable> SqliteConnection::Query(const std::string& sql,
                                                           const std::vector<Variant>& parameters) {
    const Statement& prepared = Prepared(sql);
    Bind(prepared, parameters);
    sqlite3_stmt* statement = prepared.handle;
    std::vector<std::string> names;
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
        names.emplace_back(sqlite3_column_name(statement, c));
    }
    std::vector<RecordTable::Row> rows;
    Step(statement, [&](sqlite3_stmt* current) {
        RecordTable::Row values;
        values.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(current, c)) {
                case SQLITE_NULL:
                    values.push_back(Variant::Null());
                    break;
                case SQLITE_INTEGER:
                    values.push_back(IntegerValue(sqlite3_column_int64(current, c)));
                    break;
                case SQLITE_FLOAT:
                    values.emplace_back(sqlite3_column_double(current, c));
                    break;
                default:
                    values.emplace_back(ColumnText(current, c));
                    break;
            }
        }
        rows.push_back(std::move(values));
    });
    return RecordTable::Create(std::move(names), std::move(rows));
}

std::vector<RecordTable::Row> SqliteConnection::ReadTyped(const std::string& sql,
                                                          const std::vector<ColumnSpec>& columns,
                                                          const std::vector<Variant>& parameters) {
    const Statement& prepared = Prepared(sql);
    Bind(prepared, parameters);
    sqlite3_stmt* statement = prepared.handle;
    std::vector<RecordTable::Row> rows;
    Step(statement, [&](sqlite3_stmt* current) {
        RecordTable::Row values;
        values.reserve(columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int column = static_cast<int>(c);
            if (sqlite3_column_type(current, column) == SQLITE_NULL) {
                values.push_back(Variant::Null());
            } else if (columns[c].type == ColumnSpec::Type::Integer) {
                values.emplace_back(int32_t{sqlite3_column_int(current, column)});
            } else {
                values.emplace_back(ColumnText(current, column));
            }
        }
        rows.push_back(std::move(values));
    });
    return rows;
}

namespace {

// The statement's current row, its values converted as ReadTyped converts them.
class SqliteRow : public RowView {
  public:
    explicit SqliteRow(sqlite3_stmt* statement) : statement_(statement) {}
    bool IsNull(int column) const override {
        return sqlite3_column_type(statement_, column) == SQLITE_NULL;
    }
    int32_t Integer(int column) const override { return sqlite3_column_int(statement_, column); }
    std::string_view Text(int column) const override {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text ? std::string_view(
                          text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                    : std::string_view();
    }

  private:
    sqlite3_stmt* statement_;
};

}  // namespace

void SqliteConnection::Each(const std::string& sql, const std::vector<Variant>& parameters,
                            const std::function<void(const RowView&)>& row) {
    const Statement& prepared = Prepared(sql);
    Bind(prepared, parameters);
    sqlite3_stmt* statement = prepared.handle;
    const SqliteRow current(statement);
    try {
        Step(statement, [&](sqlite3_stmt*) { row(current); });
    } catch (...) {
        // A caller that stopped the read leaves the kept statement ready for its next run.
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        throw;
    }
}

std::string SqliteConnection::InList(std::string_view column, int parameter) const {
    return std::string(column) + " IN (SELECT value FROM json_each($" + std::to_string(parameter) +
           "))";
}

Variant SqliteConnection::ListValue(const std::vector<int64_t>& values) const {
    std::string list = "[";
    for (const int64_t value : values) {
        list += (list.size() > 1 ? "," : "") + std::to_string(value);
    }
    return Variant(list + "]");
}

bool SqliteConnection::HasTable(std::string_view table) {
    return Run("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = $1",
               {std::string(table)}) > 0;
}

}  // namespace quarn::suite
