#include "ui/SpreadGrid.h"

#include <QAccessible>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "foundation/Utf8Text.h"
#include "runtime/KeyedText.h"
#include "ui/QtText.h"
#include "ui/SpreadGridAccessible.h"

namespace quarn::subsysmgr {

namespace {

constexpr int kCheckColumnWidth = 24;

// Draws the selection only while the grid has the focus. The ticks say what is chosen; a block
// the program selected (the editors select the first row when they open) must not look chosen
// from elsewhere in the dialog.
class FocusedSelectionDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shown(option);
        if ((option.state & QStyle::State_Selected) && option.widget &&
            !option.widget->hasFocus()) {
            shown.state &= ~QStyle::State_Selected;
            // Over the row's selected background, which the view draws before the cell.
            painter->fillRect(option.rect, option.palette.brush(QPalette::Base));
        }
        QStyledItemDelegate::paint(painter, shown, index);
    }
};

}  // namespace

SpreadGrid::SpreadGrid(QWidget* parent) : QTableWidget(0, 2, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(kCheckColumn - 1, kCheckColumnWidth);
    FitRowHeight();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setItemDelegate(new FocusedSelectionDelegate(this));
    // The blank below the last whole row looks like the rows' background.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    QAccessible::installFactory(&SpreadGridAccessible::Create);  // once: it is not added twice
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == kCheckColumn - 1) {
            AnnounceCheck(item->row());
        }
    });
}

void SpreadGrid::MaxRows(int rows) {
    const int old = rowCount();
    setRowCount(std::max(rows, 0));
    for (int row = old; row < rows; ++row) {
        auto* check = new QTableWidgetItem;
        check->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        check->setCheckState(Qt::Unchecked);
        setItem(row, kCheckColumn - 1, check);
        auto* text = new QTableWidgetItem;
        text->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, kTextColumn - 1, text);
    }
}

int SpreadGrid::AddRow() {
    MaxRows(rowCount() + 1);
    return rowCount();
}

void SpreadGrid::Row(int row) {
    setCurrentCell(row - 1, std::max(currentColumn(), 0));
}

void SpreadGrid::Col(int col) {
    setCurrentCell(std::max(currentRow(), 0), col - 1);
}

QTableWidgetItem* SpreadGrid::CellItem(int row, int col) const {
    if (row < 1 || row > rowCount()) {
        return nullptr;
    }
    return item(row - 1, col - 1);
}

int SpreadGrid::CheckValue(int row) const {
    const QTableWidgetItem* cell = CellItem(row, kCheckColumn);
    return cell && cell->checkState() == Qt::Checked ? 1 : 0;
}

void SpreadGrid::CheckValue(int row, int value) {
    if (QTableWidgetItem* cell = CellItem(row, kCheckColumn)) {
        cell->setCheckState(value != 0 ? Qt::Checked : Qt::Unchecked);
    }
}

QString SpreadGrid::CellText(int row) const {
    const QTableWidgetItem* cell = CellItem(row, kTextColumn);
    return cell ? cell->data(Qt::UserRole).toString() : QString();
}

void SpreadGrid::CellText(int row, const QString& vNewValue) {
    QTableWidgetItem* cell = CellItem(row, kTextColumn);
    if (!cell) {
        return;
    }
    const std::string whole = text::LeftCodePoints(
        ToStdString(vNewValue), static_cast<std::size_t>(MaxEditLength(kTextColumn)));
    const bool keyed = text::CodePointCount(whole) >= kKeyedTextWidth;
    cell->setData(Qt::UserRole, ToQString(whole));
    const QString shown = ToQString(keyed ? SplitKeyedText(whole, false) : whole);
    cell->setText(shown);
    if (QTableWidgetItem* check = CellItem(row, kCheckColumn)) {
        check->setData(Qt::AccessibleTextRole, shown);
    }
}

int SpreadGrid::MaxEditLength(int col) const {
    return col == kCheckColumn || col == kTextColumn ? maxEditLength_[col - 1] : 0;
}

void SpreadGrid::MaxEditLength(int col, int length) {
    if (col == kCheckColumn || col == kTextColumn) {
        maxEditLength_[col - 1] = std::max(length, 0);
    }
}

void SpreadGrid::SetBlock(int row, int col, int row2, int col2) {
    clearSelection();
    setRangeSelected(QTableWidgetSelectionRange(row - 1, col - 1, row2 - 1, col2 - 1), true);
}

void SpreadGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitRowHeight();
    }
}

void SpreadGrid::updateGeometries() {
    QTableWidget::updateGeometries();  // sets the viewport's margins for the headers
    FitWholeRows();
}

void SpreadGrid::FitRowHeight() {
    constexpr int kRowPadding = 6;
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
    FitWholeRows();
}

void SpreadGrid::FitWholeRows() {
    const int rowHeight = verticalHeader()->defaultSectionSize();
    const QMargins margins = viewportMargins();
    int room = contentsRect().height() - margins.top();
    if (horizontalScrollBar()->isVisible()) {
        room -= horizontalScrollBar()->height();
    }
    const int blank = rowHeight > 0 && room > 0 ? room % rowHeight : 0;
    if (blank != margins.bottom()) {
        setViewportMargins(margins.left(), margins.top(), margins.right(), blank);
    }
}

void SpreadGrid::keyPressEvent(QKeyEvent* event) {
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier)) {
        focusNextPrevChild(event->key() == Qt::Key_Tab &&
                           !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        currentRow() >= 0) {
        CheckValue(Row(), CheckValue(Row()) != 0 ? 0 : 1);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void SpreadGrid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    viewport()->update();  // the selection shows
    AnnounceFocus(currentRow());
}

void SpreadGrid::focusOutEvent(QFocusEvent* event) {
    QTableWidget::focusOutEvent(event);
    viewport()->update();
}

void SpreadGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
    if (current.row() != previous.row()) {
        AnnounceFocus(current.row());
    }
}

void SpreadGrid::selectionChanged(const QItemSelection& selected,
                                  const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
}

void SpreadGrid::AnnounceFocus(int row) {
    if (!QAccessible::isActive() || row < 0) {
        return;
    }
    // Queued: the grid's own focus event, sent after its focusInEvent, would otherwise follow.
    QMetaObject::invokeMethod(
        this,
        [this, row] {
            if (!hasFocus() || currentRow() != row) {
                return;
            }
            if (QAccessibleInterface* item =
                    QAccessible::queryAccessibleInterface(this)->child(row)) {
                QAccessibleEvent event(item, QAccessible::Focus);
                QAccessible::updateAccessibility(&event);
            }
        },
        Qt::QueuedConnection);
}

void SpreadGrid::AnnounceCheck(int row) {
    // A grid being filled before it shows has nobody to tell.
    if (!QAccessible::isActive() || !isVisible()) {
        return;
    }
    if (QAccessibleInterface* item = QAccessible::queryAccessibleInterface(this)->child(row)) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(item, changed);
        QAccessible::updateAccessibility(&event);
    }
}

SpreadGrid::Block SpreadGrid::SelectedBlock() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) {
        return {};
    }
    const QTableWidgetSelectionRange& range = ranges.first();
    return {range.topRow() + 1, range.leftColumn() + 1, range.bottomRow() + 1,
            range.rightColumn() + 1};
}

}  // namespace quarn::subsysmgr
