#include "FunctionalTreeView.h"

#include <QAccessible>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

namespace quarn::designer {

FunctionalTreeView::FunctionalTreeView(QWidget* parent) : QTreeView(parent) {
    // The blank below the last whole row looks like the rows' background.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    connect(this, &QTreeView::expanded, this, &FunctionalTreeView::AnnounceExpanded);
    connect(this, &QTreeView::collapsed, this, &FunctionalTreeView::AnnounceExpanded);
}

QAccessibleInterface* FunctionalTreeView::AccessibleCell(const QModelIndex& index) const {
    const QRect shown = visualRect(index.siblingAtColumn(0));
    if (!index.isValid() || !shown.isValid() || !viewport()->rect().intersects(shown)) {
        return nullptr;
    }
    const QPoint at = viewport()->mapToGlobal(shown.center());
    QAccessibleInterface* tree =
        QAccessible::queryAccessibleInterface(const_cast<FunctionalTreeView*>(this));
    return tree ? tree->childAt(at.x(), at.y()) : nullptr;
}

void FunctionalTreeView::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    if (QAccessible::isActive()) {
        // Queued: the tree's own focus event follows its focus-in event.
        QMetaObject::invokeMethod(this, &FunctionalTreeView::AnnounceCurrent, Qt::QueuedConnection);
    }
}

void FunctionalTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier &&
        contextMenuPolicy() == Qt::CustomContextMenu) {
        const QRect current = visualRect(currentIndex());
        emit customContextMenuRequested(current.isValid() ? current.center() : QPoint());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FunctionalTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (hasFocus()) {
        QTreeView::currentChanged(current, previous);
        return;
    }
    // QTreeView's own work but its announcement; with all columns showing the focus the rows
    // would need painting too.
    Q_ASSERT(!allColumnsShowFocus());
    QAbstractItemView::currentChanged(current, previous);
}

void FunctionalTreeView::updateGeometries() {
    QTreeView::updateGeometries();  // sets the viewport's margins for the header
    // Rows are of one height (uniformRowHeights), the first one's.
    const QModelIndex first = model() ? model()->index(0, 0, rootIndex()) : QModelIndex();
    const int height = first.isValid() ? rowHeight(first) : 0;
    const QMargins margins = viewportMargins();
    int room = contentsRect().height() - margins.top();
    if (horizontalScrollBar()->isVisible()) {
        room -= horizontalScrollBar()->height();
    }
    const int blank = height > 0 && room > 0 ? room % height : 0;
    if (blank != margins.bottom()) {
        setViewportMargins(margins.left(), margins.top(), margins.right(), blank);
    }
}

void FunctionalTreeView::AnnounceCurrent() {
    if (!hasFocus()) {
        return;
    }
    if (QAccessibleInterface* cell = AccessibleCell(currentIndex())) {
        QAccessibleEvent focus(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void FunctionalTreeView::AnnounceExpanded(const QModelIndex& index) {
    if (!QAccessible::isActive()) {
        return;
    }
    if (QAccessibleInterface* cell = AccessibleCell(index)) {
        QAccessible::State changed;
        changed.expanded = true;
        QAccessibleStateChangeEvent event(cell, changed);
        QAccessible::updateAccessibility(&event);
    }
    // Qt 6.4's AT-SPI bridge does not pass the change of the expanded state on: the current row
    // is announced again, so that a screen reader reads it with its new state.
    if (index == currentIndex()) {
        AnnounceCurrent();
    }
}

}  // namespace quarn::designer
