#include "foundation/Recordset.h"

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "foundation/RecordsetFilter.h"

namespace quarn {

Recordset::Recordset(std::shared_ptr<const RecordTable> table) : table_(std::move(table)) {}

RecordsetPtr Recordset::Create(std::shared_ptr<const RecordTable> table) {
    return std::make_shared<Recordset>(std::move(table));
}

RecordsetPtr Recordset::Create(std::vector<std::string> columns,
                               std::vector<RecordTable::Row> rows) {
    return Create(RecordTable::Create(std::move(columns), std::move(rows)));
}

const RecordTable& Recordset::Table() const {
    if (!table_) {
        throw ComError(ErrorNumber(FoundationError::RecordsetClosed), "Recordset",
                       "The Recordset is closed.");
    }
    return *table_;
}

std::size_t Recordset::VisibleCount() const {
    return visibleRows_ ? visibleRows_->size() : Table().RowCount();
}

std::size_t Recordset::CurrentRow() const {
    if (Eof()) {
        throw ComError(ErrorNumber(FoundationError::NoCurrentRow), "Recordset.Fields",
                       "There is no current row: the Recordset is at the end of data.");
    }
    return visibleRows_ ? (*visibleRows_)[position_] : position_;
}

const Variant& Recordset::Fields(std::string_view column) const {
    const auto index = Table().FindColumn(column);
    if (!index) {
        throw ComError(ErrorNumber(FoundationError::UnknownColumn), "Recordset.Fields",
                       "The Recordset has no column " + std::string(column) + ".");
    }
    return table_->Value(CurrentRow(), *index);
}

void Recordset::MoveFirst() {
    Table();
    position_ = 0;
}

void Recordset::MoveNext() {
    if (Eof()) {
        throw ComError(ErrorNumber(FoundationError::NoCurrentRow), "Recordset.MoveNext",
                       "Cannot move past the end of data.");
    }
    ++position_;
}

bool Recordset::Eof() const { return position_ >= VisibleCount(); }

bool Recordset::Bof() const { return VisibleCount() == 0; }

int32_t Recordset::RecordCount() const { return static_cast<int32_t>(VisibleCount()); }

void Recordset::Close() {
    table_.reset();
    visibleRows_.reset();
    position_ = 0;
}

void Recordset::Filter(std::string_view expression) {
    const auto filter = RecordsetFilter::Parse(expression, Table());
    if (filter.IsEmpty()) {
        visibleRows_.reset();
    } else {
        visibleRows_ = filter.MatchingRows(*table_);
    }
    filterText_ = std::string(expression);
    position_ = 0;
}

std::size_t Recordset::ColumnCount() const { return Table().ColumnCount(); }

const std::string& Recordset::ColumnName(std::size_t column) const {
    return Table().ColumnName(column);
}

}  // namespace quarn
