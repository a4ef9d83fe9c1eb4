#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quarn/foundation/RecordTable.h"
#include "quarn/foundation/RecordsetFilter.h"
#include "quarn/foundation/Variant.h"

namespace quarn {

class Recordset;
using RecordsetPtr = std::shared_ptr<Recordset>;

/// A tabular result: named columns, a current-row cursor and a filter, over rows it shares with
/// every other Recordset opened on the same RecordTable. Each Recordset has its own cursor and
/// filter, and may be limited to a fixed scope of the table (the rows of one group, say).
///
/// A new Recordset is open and on its first row. Reading a field or moving on while at the end,
/// or naming an unknown column, raises ComError; so does any use after Close.
class Recordset {
  public:
    /// A Recordset over the rows of `table` that the filter expression `scope` admits (all rows
    /// for ""). The scope cannot be changed; Filter narrows it. Raises ComError for a scope that
    /// does not parse.
    explicit Recordset(std::shared_ptr<const RecordTable> table, std::string_view scope = {});

    static RecordsetPtr Create(std::shared_ptr<const RecordTable> table,
                               std::string_view scope = {});
    static RecordsetPtr Create(std::vector<std::string> columns,
                               std::vector<RecordTable::Row> rows);

    /// Gives a table with the Recordset's columns that holds at least every row `filter` admits:
    /// the rows of one key when the filter names one, all of them otherwise.
    using RowReader = std::function<std::shared_ptr<const RecordTable>(const RecordsetFilter&)>;
    /// A Recordset with the columns of `columns` (whose rows are not used) whose rows `read` gives
    /// when they are first needed after each change of filter, so that a filter on a key reads
    /// only that key's rows. Failures of `read` pass through the call that needed the rows.
    static RecordsetPtr Deferred(std::shared_ptr<const RecordTable> columns, RowReader read);

    /// The value of a column (matched without regard to case) in the current row.
    const Variant& Fields(std::string_view column) const;
    /// The value of the column at a position (0 to ColumnCount() - 1) in the current row, for
    /// loops over many rows that look the column up once; raises UnknownColumn outside.
    const Variant& Fields(std::size_t column) const;

    void MoveFirst();
    void MoveNext();
    /// At the end of data: after the last row, or no rows at all.
    bool Eof() const;
    /// At the beginning of data: before the first row, which is only the case without rows.
    bool Bof() const;

    /// The number of rows the scope and the filter let through.
    int32_t RecordCount() const;

    /// 1 while open, 0 after Close.
    int32_t State() const { return table_ ? 1 : 0; }
    void Close();

    /// The current filter text ("" for none).
    const std::string& Filter() const { return filterText_; }
    /// Replaces the filter and moves to the first matching row. A filter that does not parse or
    /// names an unknown column raises ComError and leaves the Recordset as it was.
    void Filter(std::string_view expression);

    std::size_t ColumnCount() const;
    const std::string& ColumnName(std::size_t column) const;
    /// The position of a column (matched without regard to case), for Fields(std::size_t);
    /// ColumnCount() when there is none, so that reading it raises UnknownColumn.
    std::size_t ColumnPosition(std::string_view name) const;

  private:
    const RecordTable& Table() const;
    /// Computes a pending selection, first reading the rows it needs. May replace table_.
    const std::vector<uint32_t>* VisibleRows() const;
    std::size_t VisibleCount() const;
    std::size_t CurrentRow() const;
    void Select(const RecordsetFilter& filter);

    mutable std::shared_ptr<const RecordTable> table_;
    RowReader reader_;  // reads table_ again for each new selection; none for a fixed table
    RecordsetFilter scope_;
    // The visible rows: absent while every row of the table is visible. A selection not yet
    // computed waits in pending_.
    mutable std::optional<std::vector<uint32_t>> visibleRows_;
    mutable std::optional<RecordsetFilter> pending_;
    std::string filterText_;
    std::size_t position_ = 0;
};

}  // namespace quarn
