#pragma once

#include <string>
#include <unordered_map>

#include "suite/store/Connection.h"
#include "suite/store/DatabaseName.h"

struct pg_conn;
struct pg_result;

namespace quarn::suite {

/// A connection to a PostgreSQL database through libpq. Each statement text is prepared once
/// as a named server statement and then only executed: one round trip per statement. The
/// SQLSTATE and the constraint name classify failures, whatever language the server speaks.
class PostgresConnection : public Connection {
  public:
    /// `conninfo`: the full libpq connection string (with the password, if any). Raises
    /// Unavailable when the server cannot be reached. `description` names the database in
    /// messages and never holds the password.
    PostgresConnection(const std::string& conninfo, int lockTimeoutSeconds,
                       DatabaseName description);
    ~PostgresConnection() override;

    Engine Kind() const override { return Engine::PostgreSQL; }
    void Execute(const std::string& sql) override;
    int64_t Run(const std::string& sql, const std::vector<Variant>& parameters) override;
    int64_t Change(const std::string& sql, const std::vector<Variant>& parameters) override;
    std::shared_ptr<const RecordTable> Query(const std::string& sql,
                                             const std::vector<Variant>& parameters) override;
    std::vector<RecordTable::Row> ReadTyped(const std::string& sql,
                                            const std::vector<ColumnSpec>& columns,
                                            const std::vector<Variant>& parameters) override;
    void Each(const std::string& sql, const std::vector<Variant>& parameters,
              const std::function<void(const RowView&)>& row) override;
    void BeginWrite() override { Execute("BEGIN"); }
    void BeginRead() override { Execute("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); }
    std::string InList(std::string_view column, int parameter) const override;
    Variant ListValue(const std::vector<int64_t>& values) const override;
    bool HasTable(std::string_view table) override;

    /// The driver's handle, for the read-only guard of free queries.
    pg_conn* Handle() const { return conn_; }
    /// Runs a statement once through the extended protocol (one statement only, not kept).
    std::shared_ptr<const RecordTable> QueryOnce(const std::string& sql);

  private:
    using Result = std::unique_ptr<pg_result, void (*)(pg_result*)>;
    /// The result of executing the statement prepared for `sql`; raises on failure.
    Result Execute(const std::string& sql, const std::vector<Variant>& parameters);
    /// Raises the store's error for a failed result (or a lost connection without one).
    [[noreturn]] void Raise(const pg_result* result);
    Result Checked(pg_result* result);

    pg_conn* conn_ = nullptr;
    DatabaseName description_;
    std::unordered_map<std::string, std::string> prepared_;  // statement text -> server name
};

}  // namespace quarn::suite
