#include "foundation/RecordTable.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cmath>

#include "foundation/Utf8Text.h"

namespace quarn {

namespace {

// A patch is compacted once its difference exceeds this share of the base (or a small floor),
// so lookups stay close to those of a flat table and patching stays cheap.
constexpr std::size_t kMinimumPatchRows = 256;
constexpr std::size_t kPatchShareOfBase = 32;

}  // namespace

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
    for ([[maybe_unused]] const Row& row : rows_) {
        assert(row.size() == columns_.size());
    }
}

std::shared_ptr<const RecordTable> RecordTable::Create(std::vector<std::string> columns,
                                                       std::vector<Row> rows) {
    // Not made const itself: Changed may change a table that no one else holds.
    return std::make_shared<RecordTable>(std::move(columns), std::move(rows));
}

std::shared_ptr<const RecordTable> RecordTable::Changed(std::shared_ptr<const RecordTable> table,
                                                        const std::vector<uint32_t>& removed,
                                                        std::vector<Row> added) {
    if (table.use_count() != 1) {
        return table->Patched(removed, std::move(added));
    }
    // A holder that just let go read the table before its release of the count; this makes
    // those reads come before the change.
    std::atomic_thread_fence(std::memory_order_acquire);
    // Every table is made non-const (Create, Patched); this is the only reference to it.
    const_cast<RecordTable&>(*table).ChangeInPlace(removed, std::move(added));
    return table;
}

bool RecordTable::ReplacedInPlace(const std::shared_ptr<const RecordTable>& table, uint32_t row,
                                  Row values) {
    if (table.use_count() != 1 || row < table->BaseSpan() || !table->IsLive(row)) {
        return false;
    }
    std::atomic_thread_fence(std::memory_order_acquire);  // as in Changed
    auto& own = const_cast<RecordTable&>(*table);
    assert(values.size() == own.columns_.size());
    std::lock_guard lock(own.indexMutex_);
    const auto number = static_cast<uint32_t>(row - own.BaseSpan());
    Row& current = own.rows_[number];
    for (std::size_t column = 0; column < own.indexes_.size(); ++column) {
        const auto before = EqualityKeyOf(current[column]);
        auto after = EqualityKeyOf(values[column]);
        ColumnIndex* index = own.indexes_[column].get();
        if (!index || before == after) {
            continue;
        }
        if (before) {
            if (const auto entry = index->find(*before); entry != index->end()) {
                std::erase(entry->second, number);
            }
        }
        if (after) {
            auto& rows = (*index)[std::move(*after)];
            rows.insert(std::upper_bound(rows.begin(), rows.end(), number), number);
        }
    }
    current = std::move(values);
    return true;
}

void RecordTable::ChangeInPlace(const std::vector<uint32_t>& removed, std::vector<Row> added) {
    std::lock_guard lock(indexMutex_);
    const std::size_t baseSpan = BaseSpan();
    for (const uint32_t row : removed) {
        if (!IsLive(row)) {
            continue;
        }
        removed_.insert(std::upper_bound(removed_.begin(), removed_.end(), row), row);
        if (row < baseSpan) {
            continue;  // the base's indexes are shared: lookups pass over its removed rows
        }
        // The own indexes drop the row, so that a key whose rows are rewritten again and again
        // (a group's subsystems) is not looked up through every earlier copy.
        const auto own = static_cast<uint32_t>(row - baseSpan);
        for (std::size_t column = 0; column < indexes_.size(); ++column) {
            const auto key = EqualityKeyOf(rows_[own][column]);
            if (!indexes_[column] || !key) {
                continue;
            }
            if (const auto entry = indexes_[column]->find(*key); entry != indexes_[column]->end()) {
                std::erase(entry->second, own);
            }
        }
    }
    const std::size_t first = rows_.size();
    for (Row& row : added) {
        assert(row.size() == columns_.size());
        rows_.push_back(std::move(row));
    }
    for (std::size_t column = 0; column < indexes_.size(); ++column) {
        if (!indexes_[column]) {
            continue;  // built on its first lookup, with every row
        }
        for (std::size_t row = first; row < rows_.size(); ++row) {
            if (auto key = EqualityKeyOf(rows_[row][column])) {
                (*indexes_[column])[std::move(*key)].push_back(static_cast<uint32_t>(row));
            }
        }
    }
    // Rows that are no longer live cost memory and lookups: once they are a quarter of the
    // table, the live rows become a table of their own (row numbers change, indexes are built
    // anew as they are asked for).
    if (removed_.size() <= std::max(kMinimumPatchRows, RowSpan() / 4)) {
        return;
    }
    std::vector<Row> live;
    live.reserve(LiveRowCount());
    for (const uint32_t row : LiveRows()) {
        live.push_back(RowAt(row));
    }
    rows_ = std::move(live);
    base_.reset();
    removed_.clear();
    for (auto& index : indexes_) {
        index.reset();
    }
}

std::shared_ptr<const RecordTable> RecordTable::Patched(const std::vector<uint32_t>& removed,
                                                        std::vector<Row> added) const {
    const auto root = base_ ? base_ : shared_from_this();
    const std::size_t rootSpan = root->RowSpan();

    // Rows of this table's own that were removed in place stay behind; the root's stay removed.
    std::vector<uint32_t> removedFromRoot;
    std::vector<bool> ownRemoved(rows_.size(), false);
    for (const uint32_t row : removed_) {
        if (!base_ || row < rootSpan) {
            removedFromRoot.push_back(row);
        } else {
            ownRemoved[row - rootSpan] = true;
        }
    }
    for (const uint32_t row : removed) {
        if (!IsLive(row)) {
            continue;
        }
        if (!base_ || row < rootSpan) {
            removedFromRoot.push_back(row);
        } else {
            ownRemoved[row - rootSpan] = true;
        }
    }
    std::sort(removedFromRoot.begin(), removedFromRoot.end());
    removedFromRoot.erase(std::unique(removedFromRoot.begin(), removedFromRoot.end()),
                          removedFromRoot.end());

    std::vector<Row> ownRows;
    if (base_) {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (!ownRemoved[i]) {
                ownRows.push_back(rows_[i]);
            }
        }
    }
    std::move(added.begin(), added.end(), std::back_inserter(ownRows));

    auto patch = std::make_shared<RecordTable>(columns_, std::move(ownRows));
    patch->base_ = root;
    patch->removed_ = std::move(removedFromRoot);

    const std::size_t difference = patch->rows_.size() + patch->removed_.size();
    if (difference <= std::max(kMinimumPatchRows, rootSpan / kPatchShareOfBase)) {
        return patch;
    }
    std::vector<Row> compacted;
    compacted.reserve(patch->LiveRowCount());
    for (const uint32_t row : patch->LiveRows()) {
        compacted.push_back(row < rootSpan ? root->rows_[row] : patch->rows_[row - rootSpan]);
    }
    return Create(columns_, std::move(compacted));
}

std::optional<std::size_t> RecordTable::FindColumn(std::string_view name) const {
    // A dozen columns at most: comparing in place beats hashing an upper-cased copy.
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (text::EqualsIgnoreCaseAscii(columns_[i], name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t RecordTable::RowSpan() const {
    return BaseSpan() + rows_.size();
}

bool RecordTable::IsLive(std::size_t row) const {
    return row < RowSpan() &&
           !std::binary_search(removed_.begin(), removed_.end(), static_cast<uint32_t>(row));
}

std::vector<uint32_t> RecordTable::LiveRows() const {
    std::vector<uint32_t> result;
    result.reserve(LiveRowCount());
    auto removed = removed_.begin();
    for (uint32_t row = 0; row < RowSpan(); ++row) {
        if (removed != removed_.end() && *removed == row) {
            ++removed;
            continue;
        }
        result.push_back(row);
    }
    return result;
}

const Variant& RecordTable::Value(std::size_t row, std::size_t column) const {
    const std::size_t baseSpan = BaseSpan();
    return row < baseSpan ? base_->Value(row, column) : rows_[row - baseSpan][column];
}

RecordTable::Row RecordTable::RowAt(std::size_t row) const {
    const std::size_t baseSpan = BaseSpan();
    return row < baseSpan ? base_->RowAt(row) : rows_[row - baseSpan];
}

const std::vector<uint32_t>* RecordTable::OwnRowsEqualTo(std::size_t column,
                                                         const EqualityKey& key) const {
    std::lock_guard lock(indexMutex_);
    auto& index = indexes_[column];
    if (!index) {
        index = std::make_unique<ColumnIndex>();
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            if (auto rowKey = EqualityKeyOf(rows_[row][column])) {
                (*index)[std::move(*rowKey)].push_back(static_cast<uint32_t>(row));
            }
        }
    }
    const auto it = index->find(key);
    return it == index->end() ? nullptr : &it->second;
}

std::vector<uint32_t> RecordTable::RowsEqualTo(std::size_t column, const EqualityKey& key) const {
    std::vector<uint32_t> result;
    if (base_) {
        if (const auto* baseRows = base_->OwnRowsEqualTo(column, key)) {
            for (const uint32_t row : *baseRows) {
                if (IsLive(row)) {
                    result.push_back(row);
                }
            }
        }
    }
    if (const auto* ownRows = OwnRowsEqualTo(column, key)) {
        const auto offset = static_cast<uint32_t>(BaseSpan());
        for (const uint32_t row : *ownRows) {
            if (removed_.empty() || IsLive(row + offset)) {
                result.push_back(row + offset);
            }
        }
    }
    return result;
}

std::optional<uint32_t> RecordTable::LastRowEqualTo(std::size_t column,
                                                    const EqualityKey& key) const {
    // The own indexes drop removed rows; the base's keep them, so its entries are walked back.
    if (const auto* ownRows = OwnRowsEqualTo(column, key); ownRows && !ownRows->empty()) {
        const auto offset = static_cast<uint32_t>(BaseSpan());
        for (auto row = ownRows->rbegin(); row != ownRows->rend(); ++row) {
            if (IsLive(*row + offset)) {
                return *row + offset;
            }
        }
    }
    if (const auto* baseRows = base_ ? base_->OwnRowsEqualTo(column, key) : nullptr) {
        for (auto row = baseRows->rbegin(); row != baseRows->rend(); ++row) {
            if (IsLive(*row)) {
                return *row;
            }
        }
    }
    return std::nullopt;
}

std::size_t RecordTable::CandidateCount(std::size_t column, const EqualityKey& key) const {
    std::size_t count = 0;
    if (base_) {
        if (const auto* baseRows = base_->OwnRowsEqualTo(column, key)) {
            count += baseRows->size();
        }
    }
    if (const auto* ownRows = OwnRowsEqualTo(column, key)) {
        count += ownRows->size();
    }
    return count;
}

}  // namespace quarn
