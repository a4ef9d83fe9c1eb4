#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/RecordTable.h"
#include "foundation/Variant.h"

namespace quarn::suite {

/// A column of a typed read: its name in the result and how its values are held.
struct ColumnSpec {
    enum class Type { Integer, Text };
    std::string name;
    Type type;
};

/// The names of the columns, in order: the column names of a typed read's table.
inline std::vector<std::string> NamesOf(const std::vector<ColumnSpec>& columns) {
    std::vector<std::string> names;
    names.reserve(columns.size());
    for (const ColumnSpec& column : columns) {
        names.push_back(column.name);
    }
    return names;
}

/// The current row of a stepped read, valid only during the call it is passed to.
class RowView {
  public:
    virtual ~RowView() = default;
    virtual bool IsNull(int column) const = 0;
    /// The value as a 32-bit number, converted as a typed read converts it; 0 for NULL.
    virtual int32_t Integer(int column) const = 0;
    /// The value as text, its bytes as stored; empty for NULL. Valid until the next row.
    virtual std::string_view Text(int column) const = 0;
};

/// One connection to one engine. Statements take their values as parameters $1, $2, ... in
/// order of first appearance, never pasted into the text; each distinct text is prepared once
/// per connection and kept. Failures raise StoreFailure, classified by the engine's own codes
/// (never by its message text, which may be in any language). Not thread-safe: Database
/// serializes the calls.
class Connection {
  public:
    enum class Engine { SQLite, PostgreSQL };

    virtual ~Connection() = default;

    virtual Engine Kind() const = 0;

    /// Runs one statement without parameters or caching (schema scripts, transaction control).
    virtual void Execute(const std::string& sql) = 0;
    /// Runs a statement; returns the first column of the first row (RETURNING), or 0.
    virtual int64_t Run(const std::string& sql, const std::vector<Variant>& parameters) = 0;
    /// Runs a statement that writes; returns the number of rows it wrote itself (not counting
    /// what triggers wrote).
    virtual int64_t Change(const std::string& sql, const std::vector<Variant>& parameters) = 0;
    /// Reads rows, each value typed as the engine reports it.
    virtual std::shared_ptr<const RecordTable> Query(const std::string& sql,
                                                     const std::vector<Variant>& parameters) = 0;
    /// Reads rows into the given columns and types.
    std::shared_ptr<const RecordTable> QueryTyped(const std::string& sql,
                                                  const std::vector<ColumnSpec>& columns,
                                                  const std::vector<Variant>& parameters) {
        return RecordTable::Create(NamesOf(columns), ReadTyped(sql, columns, parameters));
    }
    /// The rows of such a read, for a caller that arranges them before they become a table.
    virtual std::vector<RecordTable::Row> ReadTyped(const std::string& sql,
                                                    const std::vector<ColumnSpec>& columns,
                                                    const std::vector<Variant>& parameters) = 0;

    /// Steps a read, handing each row to `row` as it comes, without keeping any. What `row`
    /// raises ends the read and passes through.
    virtual void Each(const std::string& sql, const std::vector<Variant>& parameters,
                      const std::function<void(const RowView&)>& row) = 0;

    /// Starts a transaction that will write: SQLite takes its write lock at once.
    virtual void BeginWrite() = 0;
    /// Starts a transaction that only reads one consistent state and takes no write lock.
    virtual void BeginRead() = 0;

    /// The condition "`column` is one of the list in parameter `parameter`" and the value
    /// that carries the list, in this engine's dialect.
    virtual std::string InList(std::string_view column, int parameter) const = 0;
    virtual Variant ListValue(const std::vector<int64_t>& values) const = 0;

    /// Whether the database has this table.
    virtual bool HasTable(std::string_view table) = 0;
};

}  // namespace quarn::suite
