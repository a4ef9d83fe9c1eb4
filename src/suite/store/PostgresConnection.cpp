#include "suite/store/PostgresConnection.h"

#include <charconv>
#include <climits>
#include <cstdlib>

#include "suite/store/EngineErrors.h"
#include "suite/store/LibPq.h"
#include "suite/store/PostgresLogin.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {

namespace {

// Type identifiers of the built-in types that come back as numbers.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

Variant IntegerValue(std::string_view text) {
    int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value >= INT32_MIN && value <= INT32_MAX) {
        return Variant(static_cast<int32_t>(value));
    }
    return Variant(value);
}

Variant TypedValue(const PGresult* result, int row, int column) {
    if (Pq().PQgetisnull(result, row, column)) {
        return Variant::Null();
    }
    const std::string_view text(Pq().PQgetvalue(result, row, column),
                                static_cast<std::size_t>(Pq().PQgetlength(result, row, column)));
    switch (Pq().PQftype(result, column)) {
        case kInt2:
        case kInt4:
        case kInt8:
        case kOid:
            return IntegerValue(text);
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return Variant(std::stod(std::string(text)));
        case kBool:
            return Variant(int32_t{text == "t" ? 1 : 0});
        default:
            return Variant(std::string(text));
    }
}

// Values travel as text; the server converts them to the parameter's type.
struct TextParameters {
    explicit TextParameters(const std::vector<Variant>& parameters) {
        texts.reserve(parameters.size());
        for (const Variant& value : parameters) {
            const bool missing = value.IsNull() || value.IsEmpty();
            texts.push_back(missing ? std::string()
                            : value.Type() == VariantType::Boolean
                                ? std::string(value.ToBool() ? "1" : "0")
                                : value.ToText());
            pointers.push_back(missing ? nullptr : texts.back().c_str());
        }
    }
    std::vector<std::string> texts;
    std::vector<const char*> pointers;
};

void IgnoreNotice(void*, const char*) {}

}  // namespace

PostgresConnection::PostgresConnection(const std::string& conninfo, int lockTimeoutSeconds,
                                       DatabaseName description)
    : description_(std::move(description)) {
    conn_ = ConnectPostgres(conninfo, description_);
    Pq().PQsetNoticeProcessor(conn_, IgnoreNotice, nullptr);
    Execute("SET lock_timeout = '" + std::to_string(lockTimeoutSeconds) + "s'");
    // Kept statements are planned for their values: a generic plan of "FSeq > $1" would scan
    // the whole change log, which grows with every write.
    Execute("SET plan_cache_mode = force_custom_plan");
}

PostgresConnection::~PostgresConnection() {
    Pq().PQfinish(conn_);
}

void PostgresConnection::Raise(const pg_result* result) {
    const char* state = result ? Pq().PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* constraint =
        result ? Pq().PQresultErrorField(result, PG_DIAG_CONSTRAINT_NAME) : nullptr;
    if (!state || Pq().PQstatus(conn_) != CONNECTION_OK) {
        RaiseEngineFailure(StoreError::Unavailable, messages::kCannotReach, description_,
                           state ? state : "");
    }
    const EngineFailure failure = ClassifyPostgresFailure(state, constraint ? constraint : "");
    RaiseEngineFailure(failure.error, failure.messageTemplate, description_, state);
}

PostgresConnection::Result PostgresConnection::Checked(pg_result* result) {
    Result owned(result, Pq().PQclear);
    const ExecStatusType status = result ? Pq().PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        Raise(result);
    }
    return owned;
}

void PostgresConnection::Execute(const std::string& sql) {
    Checked(Pq().PQexec(conn_, sql.c_str()));
}

PostgresConnection::Result PostgresConnection::Execute(const std::string& sql,
                                                       const std::vector<Variant>& parameters) {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        const std::string name = "q" + std::to_string(prepared_.size() + 1);
        Checked(Pq().PQprepare(conn_, name.c_str(), sql.c_str(), 0, nullptr));
        it = prepared_.emplace(sql, name).first;
    }
    const TextParameters values(parameters);
    return Checked(Pq().PQexecPrepared(conn_, it->second.c_str(),
                                       static_cast<int>(parameters.size()), values.pointers.data(),
                                       nullptr, nullptr, 0));
}

int64_t PostgresConnection::Run(const std::string& sql, const std::vector<Variant>& parameters) {
    const Result result = Execute(sql, parameters);
    if (Pq().PQntuples(result.get()) == 0 || Pq().PQnfields(result.get()) == 0 ||
        Pq().PQgetisnull(result.get(), 0, 0)) {
        return 0;
    }
    return IntegerValue(Pq().PQgetvalue(result.get(), 0, 0)).ToInt64();
}

int64_t PostgresConnection::Change(const std::string& sql, const std::vector<Variant>& parameters) {
    const Result result = Execute(sql, parameters);
    return std::atoll(Pq().PQcmdTuples(result.get()));
}

namespace {

std::shared_ptr<const RecordTable> DynamicTable(const PGresult* result) {
    const int columns = Pq().PQnfields(result);
    std::vector<std::string> names;
    for (int c = 0; c < columns; ++c) {
        names.emplace_back(Pq().PQfname(result, c));
    }
    std::vector<RecordTable::Row> rows;
    const int count = Pq().PQntuples(result);
    rows.reserve(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) {
        RecordTable::Row values;
        values.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            values.push_back(TypedValue(result, r, c));
        }
        rows.push_back(std::move(values));
    }
    return RecordTable::Create(std::move(names), std::move(rows));
}

}  // namespace

std::shared_ptr<const RecordTable> PostgresConnection::Query(
    const std::string& sql, const std::vector<Variant>& parameters) {
    return DynamicTable(Execute(sql, parameters).get());
}

std::shared_ptr<const RecordTable> PostgresConnection::QueryOnce(const std::string& sql) {
    return DynamicTable(
        Checked(Pq().PQexecParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0))
            .get());
}

std::vector<RecordTable::Row> PostgresConnection::ReadTyped(
    const std::string& sql, const std::vector<ColumnSpec>& columns,
    const std::vector<Variant>& parameters) {
    const Result result = Execute(sql, parameters);
    const int count = Pq().PQntuples(result.get());
    std::vector<RecordTable::Row> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) {
        RecordTable::Row values;
        values.reserve(columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int column = static_cast<int>(c);
            if (Pq().PQgetisnull(result.get(), r, column)) {
                values.push_back(Variant::Null());
                continue;
            }
            const char* text = Pq().PQgetvalue(result.get(), r, column);
            if (columns[c].type == ColumnSpec::Type::Integer) {
                int32_t value = 0;
                std::from_chars(text, text + Pq().PQgetlength(result.get(), r, column), value);
                values.emplace_back(value);
            } else {
                values.emplace_back(std::string(
                    text, static_cast<std::size_t>(Pq().PQgetlength(result.get(), r, column))));
            }
        }
        rows.push_back(std::move(values));
    }
    return rows;
}

namespace {

// A row of a result, its values converted as ReadTyped converts them.
class PostgresRow : public RowView {
  public:
    explicit PostgresRow(const PGresult* result) : result_(result) {}
    void MoveTo(int row) { row_ = row; }
    bool IsNull(int column) const override { return Pq().PQgetisnull(result_, row_, column) == 1; }
    int32_t Integer(int column) const override {
        const std::string_view text = Text(column);
        int32_t value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }
    std::string_view Text(int column) const override {
        // libpq gives a NULL as an empty text.
        return {Pq().PQgetvalue(result_, row_, column),
                static_cast<std::size_t>(Pq().PQgetlength(result_, row_, column))};
    }

  private:
    const PGresult* result_;
    int row_ = 0;
};

}  // namespace

void PostgresConnection::Each(const std::string& sql, const std::vector<Variant>& parameters,
                              const std::function<void(const RowView&)>& row) {
    const Result result = Execute(sql, parameters);
    PostgresRow current(result.get());
    const int count = Pq().PQntuples(result.get());
    for (int r = 0; r < count; ++r) {
        current.MoveTo(r);
        row(current);
    }
}

std::string PostgresConnection::InList(std::string_view column, int parameter) const {
    return std::string(column) + " = ANY($" + std::to_string(parameter) + "::bigint[])";
}

Variant PostgresConnection::ListValue(const std::vector<int64_t>& values) const {
    std::string list = "{";
    for (const int64_t value : values) {
        list += (list.size() > 1 ? "," : "") + std::to_string(value);
    }
    return Variant(list + "}");
}

bool PostgresConnection::HasTable(std::string_view table) {
    return Run("SELECT count(*) FROM information_schema.tables WHERE table_schema = "
               "current_schema() AND table_name = lower($1)",
               {std::string(table)}) > 0;
}

}  // namespace quarn::suite
