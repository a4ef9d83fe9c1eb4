#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "foundation/Variant.h"

namespace quarn {

/// The key under which a value is compared for equality in filters: integral numbers as
/// integers, other numbers as doubles, texts as texts. Null, empty and objects have no key.
using EqualityKey = std::variant<int64_t, double, std::string>;

std::optional<EqualityKey> EqualityKeyOf(const Variant& value);

/// Immutable rows with named columns, shared by every Recordset opened over them.
///
/// Equality lookups use one hash index per column, built on the first lookup of that column and
/// kept for the life of the table, so a filter on a key costs a lookup instead of a scan.
/// Safe to share between threads.
class RecordTable {
public:
    using Row = std::vector<Variant>;

    /// Every row must have one value per column.
    RecordTable(std::vector<std::string> columns, std::vector<Row> rows);

    static std::shared_ptr<const RecordTable> Create(std::vector<std::string> columns,
                                                     std::vector<Row> rows);

    std::size_t ColumnCount() const { return columns_.size(); }
    std::size_t RowCount() const { return rows_.size(); }
    const std::string& ColumnName(std::size_t column) const { return columns_[column]; }

    /// The position of a column, matched without regard to case.
    std::optional<std::size_t> FindColumn(std::string_view name) const;

    const Variant& Value(std::size_t row, std::size_t column) const { return rows_[row][column]; }
    const Row& RowAt(std::size_t row) const { return rows_[row]; }

    /// The rows whose value in `column` has `key`, in ascending row order.
    std::span<const uint32_t> RowsEqualTo(std::size_t column, const EqualityKey& key) const;

private:
    using ColumnIndex = std::unordered_map<EqualityKey, std::vector<uint32_t>>;
    const ColumnIndex& IndexOf(std::size_t column) const;

    std::vector<std::string> columns_;
    std::unordered_map<std::string, std::size_t> columnByUpperName_;
    std::vector<Row> rows_;

    mutable std::mutex indexMutex_;
    mutable std::vector<std::unique_ptr<ColumnIndex>> indexes_;
};

}  // namespace quarn
