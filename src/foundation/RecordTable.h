#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "quarn/foundation/Variant.h"

namespace quarn {

/// The key under which a value is compared for equality in filters: integral numbers as
/// integers, other numbers as doubles, texts as texts. Null, empty and objects have no key.
using EqualityKey = std::variant<int64_t, double, std::string>;

std::optional<EqualityKey> EqualityKeyOf(const Variant& value);

/// Immutable rows with named columns, shared by every Recordset opened over them.
///
/// Equality lookups use one hash index per column, built on the first lookup of that column and
/// kept for the life of the table, so a filter on a key costs a lookup instead of a scan.
///
/// A change of a few rows makes a patched table that shares the rows and indexes of its base
/// and holds only the difference: row numbers of removed rows stay unused (not live), added
/// rows get numbers after the base's. Once the difference grows large the patch is compacted
/// into a table of its own. A table that no one else holds is changed in place instead (see
/// Changed). Safe to share between threads.
class RecordTable : public std::enable_shared_from_this<RecordTable> {
  public:
    using Row = std::vector<Variant>;

    /// Every row must have one value per column.
    RecordTable(std::vector<std::string> columns, std::vector<Row> rows);

    static std::shared_ptr<const RecordTable> Create(std::vector<std::string> columns,
                                                     std::vector<Row> rows);

    /// This table without the rows numbered in `removed` and with `added` appended.
    std::shared_ptr<const RecordTable> Patched(const std::vector<uint32_t>& removed,
                                               std::vector<Row> added) const;
    /// The same change of `table`, made in place when `table` is the only reference to its
    /// table (no Recordset or other holder can see it change): the row numbers of the rest stay,
    /// the indexes built so far take the added rows, so a long run of small changes costs the
    /// same at any size. A shared table is patched as above.
    static std::shared_ptr<const RecordTable> Changed(std::shared_ptr<const RecordTable> table,
                                                      const std::vector<uint32_t>& removed,
                                                      std::vector<Row> added);

    /// Gives the row numbered `row` the values `values` in place, keeping its number, when
    /// `table` is the only reference to its table and the row is the table's own (not shared
    /// with a base): the indexes built so far re-key only the columns whose value changed.
    /// False, and nothing changed, otherwise.
    static bool ReplacedInPlace(const std::shared_ptr<const RecordTable>& table, uint32_t row,
                                Row values);

    std::size_t ColumnCount() const { return columns_.size(); }
    const std::string& ColumnName(std::size_t column) const { return columns_[column]; }

    /// The position of a column, matched without regard to case.
    std::optional<std::size_t> FindColumn(std::string_view name) const;

    /// Row numbers run from 0 to RowSpan() - 1; removed rows among them are not live.
    std::size_t RowSpan() const;
    std::size_t LiveRowCount() const { return RowSpan() - removed_.size(); }
    bool IsLive(std::size_t row) const;
    /// The numbers of every live row, ascending.
    std::vector<uint32_t> LiveRows() const;

    const Variant& Value(std::size_t row, std::size_t column) const;
    /// A copy of every value of a row.
    Row RowAt(std::size_t row) const;

    /// The live rows whose value in `column` has `key`, ascending.
    std::vector<uint32_t> RowsEqualTo(std::size_t column, const EqualityKey& key) const;
    /// The last of RowsEqualTo, without listing the others.
    std::optional<uint32_t> LastRowEqualTo(std::size_t column, const EqualityKey& key) const;
    /// An upper bound of RowsEqualTo's size, at the cost of two hash lookups.
    std::size_t CandidateCount(std::size_t column, const EqualityKey& key) const;

  private:
    using ColumnIndex = std::unordered_map<EqualityKey, std::vector<uint32_t>>;
    const std::vector<uint32_t>* OwnRowsEqualTo(std::size_t column, const EqualityKey& key) const;
    std::size_t BaseSpan() const { return base_ ? base_->RowSpan() : 0; }
    void ChangeInPlace(const std::vector<uint32_t>& removed, std::vector<Row> added);

    std::vector<std::string> columns_;
    std::shared_ptr<const RecordTable> base_;  // never patched itself
    std::vector<uint32_t> removed_;            // numbers of rows that are not live, ascending
    std::vector<Row> rows_;                    // numbered from BaseSpan()

    mutable std::mutex indexMutex_;
    mutable std::vector<std::unique_ptr<ColumnIndex>> indexes_;  // over rows_ only
};

}  // namespace quarn
