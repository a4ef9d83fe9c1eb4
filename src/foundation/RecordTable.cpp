#include "foundation/RecordTable.h"

#include <cassert>
#include <cmath>

#include "foundation/Utf8Text.h"

namespace quarn {

std::optional<EqualityKey> EqualityKeyOf(const Variant& value) {
    if (value.IsText()) {
        return EqualityKey(value.ToText());
    }
    if (!value.IsNumeric()) {
        return std::nullopt;
    }
    if (value.Type() != VariantType::Double) {
        return EqualityKey(value.ToInt64());
    }
    const double number = value.ToDouble();
    if (std::trunc(number) == number && std::fabs(number) < 9.0e18) {
        return EqualityKey(static_cast<int64_t>(number));
    }
    return EqualityKey(number);
}

RecordTable::RecordTable(std::vector<std::string> columns, std::vector<Row> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)), indexes_(columns_.size()) {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        columnByUpperName_.emplace(text::ToUpperAscii(columns_[i]), i);
    }
    for ([[maybe_unused]] const Row& row : rows_) {
        assert(row.size() == columns_.size());
    }
}

std::shared_ptr<const RecordTable> RecordTable::Create(std::vector<std::string> columns,
                                                       std::vector<Row> rows) {
    return std::make_shared<const RecordTable>(std::move(columns), std::move(rows));
}

std::optional<std::size_t> RecordTable::FindColumn(std::string_view name) const {
    const auto it = columnByUpperName_.find(text::ToUpperAscii(name));
    if (it == columnByUpperName_.end()) {
        return std::nullopt;
    }
    return it->second;
}

const RecordTable::ColumnIndex& RecordTable::IndexOf(std::size_t column) const {
    std::lock_guard lock(indexMutex_);
    auto& index = indexes_[column];
    if (!index) {
        index = std::make_unique<ColumnIndex>();
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            if (auto key = EqualityKeyOf(rows_[row][column])) {
                (*index)[std::move(*key)].push_back(static_cast<uint32_t>(row));
            }
        }
    }
    return *index;
}

std::span<const uint32_t> RecordTable::RowsEqualTo(std::size_t column,
                                                   const EqualityKey& key) const {
    const ColumnIndex& index = IndexOf(column);
    const auto it = index.find(key);
    if (it == index.end()) {
        return {};
    }
    return it->second;
}

}  // namespace quarn
