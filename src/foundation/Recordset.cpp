#include "foundation/Recordset.h"

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"

namespace quarn {

Recordset::Recordset(std::shared_ptr<const RecordTable> table, std::string_view scope)
    : table_(std::move(table)), scope_(RecordsetFilter::Parse(scope, *table_)) {
    Select(scope_);
}

RecordsetPtr Recordset::Create(std::shared_ptr<const RecordTable> table, std::string_view scope) {
    return std::make_shared<Recordset>(std::move(table), scope);
}

RecordsetPtr Recordset::Create(std::vector<std::string> columns,
                               std::vector<RecordTable::Row> rows) {
    return Create(RecordTable::Create(std::move(columns), std::move(rows)));
}

RecordsetPtr Recordset::Deferred(std::shared_ptr<const RecordTable> columns, RowReader read) {
    auto recordset = Create(std::move(columns));
    recordset->reader_ = std::move(read);
    return recordset;
}

const RecordTable& Recordset::Table() const {
    if (!table_) {
        throw ComError(ErrorNumber(FoundationError::RecordsetClosed), "Recordset",
                       "The Recordset is closed.");
    }
    return *table_;
}

void Recordset::Select(const RecordsetFilter& filter) {
    // The rows are found on first use: a scope set on opening is usually narrowed by a filter
    // at once, and only the narrower selection needs to be computed.
    pending_ = filter;
    visibleRows_.reset();
    position_ = 0;
}

const std::vector<uint32_t>* Recordset::VisibleRows() const {
    if (pending_) {
        Table();
        if (reader_) {
            table_ = reader_(*pending_);
        }
        if (!pending_->IsEmpty() || table_->LiveRowCount() != table_->RowSpan()) {
            visibleRows_ = pending_->MatchingRows(*table_);
        }
        pending_.reset();
    }
    return visibleRows_ ? &*visibleRows_ : nullptr;
}

std::size_t Recordset::VisibleCount() const {
    const auto* rows = VisibleRows();
    return rows ? rows->size() : Table().RowSpan();
}

std::size_t Recordset::CurrentRow() const {
    if (Eof()) {
        throw ComError(ErrorNumber(FoundationError::NoCurrentRow), "Recordset.Fields",
                       "There is no current row: the Recordset is at the end of data.");
    }
    const auto* rows = VisibleRows();
    return rows ? (*rows)[position_] : position_;
}

const Variant& Recordset::Fields(std::string_view column) const {
    const auto index = Table().FindColumn(column);
    if (!index) {
        throw ComError(ErrorNumber(FoundationError::UnknownColumn), "Recordset.Fields",
                       "The Recordset has no column " + std::string(column) + ".");
    }
    const std::size_t row = CurrentRow();  // may read the rows
    return table_->Value(row, *index);
}

const Variant& Recordset::Fields(std::size_t column) const {
    if (column >= Table().ColumnCount()) {
        throw ComError(ErrorNumber(FoundationError::UnknownColumn), "Recordset.Fields",
                       "The Recordset has no column " + std::to_string(column) + ".");
    }
    const std::size_t row = CurrentRow();  // may read the rows
    return table_->Value(row, column);
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

bool Recordset::Eof() const {
    return position_ >= VisibleCount();
}

bool Recordset::Bof() const {
    return VisibleCount() == 0;
}

int32_t Recordset::RecordCount() const {
    return static_cast<int32_t>(VisibleCount());
}

void Recordset::Close() {
    table_.reset();
    reader_ = nullptr;
    visibleRows_.reset();
    pending_.reset();
    position_ = 0;
}

void Recordset::Filter(std::string_view expression) {
    const auto filter = RecordsetFilter::Parse(expression, Table());
    Select(scope_.And(filter));
    filterText_ = std::string(expression);
}

std::size_t Recordset::ColumnCount() const {
    return Table().ColumnCount();
}

const std::string& Recordset::ColumnName(std::size_t column) const {
    return Table().ColumnName(column);
}

std::size_t Recordset::ColumnPosition(std::string_view name) const {
    return Table().FindColumn(name).value_or(Table().ColumnCount());
}

}  // namespace quarn
