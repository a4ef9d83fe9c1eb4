#pragma once

#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "suite/store/Connection.h"
#include "suite/store/DatabaseName.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quarn::suite {

/// A connection to an SQLite file through SQLite's own interface. The file is named as it is,
/// never parsed as a URI or a connect string. Extended result codes classify failures.
/// Statements may call the function kFoldFunction(text), text::FoldCase in SQL.
class SqliteConnection : public Connection {
  public:
    static constexpr const char* kFoldFunction = "quarn_fold";

    enum class Mode {
        ReadWrite,  ///< an existing file; reads take no write lock
        ReadOnly,   ///< an existing file, opened so that nothing can be written through it
        /// an existing file that nobody changes while it is open (read-only media, or a file
        /// this user may not write that no writer has open): read without creating anything
        /// beside it
        Unchanging,
        Create,  ///< a new file
    };

    /// Raises Unavailable when the file cannot be opened (or, unless created, does not exist).
    /// `description` names the database in messages.
    SqliteConnection(const std::filesystem::path& file, Mode mode, int busyTimeoutSeconds,
                     DatabaseName description);
    ~SqliteConnection() override;

    Engine Kind() const override { return Engine::SQLite; }
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
    void BeginWrite() override { Execute("BEGIN IMMEDIATE"); }
    void BeginRead() override { Execute("BEGIN"); }
    std::string InList(std::string_view column, int parameter) const override;
    Variant ListValue(const std::vector<int64_t>& values) const override;
    bool HasTable(std::string_view table) override;

    /// The driver's handle, for the read-only guard of free queries.
    sqlite3* Handle() const { return db_; }
    /// A statement prepared on its own, not cached; raises when it cannot be prepared. `tail`
    /// receives what follows the first statement.
    sqlite3_stmt* PrepareOnce(const std::string& sql, std::string* tail = nullptr);
    /// Raises the store's error for the connection's last failure.
    [[noreturn]] void RaiseLastError();

  private:
    /// A kept statement and, for each value `$n`, its position in the statement (0: unused).
    struct Statement {
        sqlite3_stmt* handle = nullptr;
        std::vector<int> positions;
    };
    const Statement& Prepared(const std::string& sql);
    static void Bind(const Statement& statement, const std::vector<Variant>& parameters);
    /// Steps the statement to its end, calling `row` for each row; resets it afterwards.
    template <class OnRow>
    void Step(sqlite3_stmt* statement, OnRow&& row);

    sqlite3* db_ = nullptr;
    DatabaseName description_;
    std::unordered_map<std::string, Statement> prepared_;
};

}  // namespace quarn::suite
