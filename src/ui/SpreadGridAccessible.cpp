#include "ui/SpreadGridAccessible.h"

#include <QPointer>
#include <QWindow>

#include "ui/SpreadGrid.h"

namespace quarn::subsysmgr {

namespace {

/// One row of the grid as a checkable list item. It stands for a row number, not for the items
/// in it, which the grid replaces when it is filled anew.
class RowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    RowAccessible(SpreadGrid* grid, int row) : grid_(grid), row_(row) {}

    bool isValid() const override { return grid_ && row_ < grid_->rowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(grid_.data());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

    QString text(QAccessible::Text type) const override {
        const QTableWidgetItem* cell =
            isValid() ? grid_->item(row_, SpreadGrid::kTextColumn - 1) : nullptr;
        return type == QAccessible::Name && cell ? cell->text() : QString();
    }
    void setText(QAccessible::Text /*type*/, const QString& /*text*/) override {}

    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect cells =
            grid_->visualRect(grid_->model()->index(row_, SpreadGrid::kCheckColumn - 1))
                .united(
                    grid_->visualRect(grid_->model()->index(row_, SpreadGrid::kTextColumn - 1)));
        return {grid_->viewport()->mapToGlobal(cells.topLeft()), cells.size()};
    }

    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.checkable = true;
        state.checked = grid_->CheckValue(row_ + 1) != 0;
        state.selectable = true;
        state.selected = grid_->selectionModel()->rowIntersectsSelection(row_, {});
        state.focusable = true;
        state.focused = grid_->hasFocus() && grid_->currentRow() == row_;
        state.invisible = !grid_->isVisible();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& actionName) override {
        if (actionName == toggleAction() && isValid() && grid_->isEnabled()) {
            grid_->CheckValue(row_ + 1, grid_->CheckValue(row_ + 1) != 0 ? 0 : 1);
        }
    }
    QStringList keyBindingsForAction(const QString& actionName) const override {
        return actionName == toggleAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

  private:
    QPointer<SpreadGrid> grid_;
    int row_;
};

}  // namespace

SpreadGridAccessible::SpreadGridAccessible(SpreadGrid* grid)
    : QAccessibleWidget(grid, QAccessible::List) {}

SpreadGridAccessible::~SpreadGridAccessible() {
    for (const QAccessible::Id id : std::as_const(rows_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface* SpreadGridAccessible::Create(const QString& /*className*/, QObject* object) {
    auto* grid = qobject_cast<SpreadGrid*>(object);
    return grid ? new SpreadGridAccessible(grid) : nullptr;
}

SpreadGrid* SpreadGridAccessible::Grid() const {
    return static_cast<SpreadGrid*>(widget());
}

int SpreadGridAccessible::childCount() const {
    return Grid()->rowCount();
}

QAccessibleInterface* SpreadGridAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    const auto made = rows_.constFind(index);
    if (made != rows_.constEnd()) {
        return QAccessible::accessibleInterface(*made);
    }
    auto* row = new RowAccessible(Grid(), index);
    rows_.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int SpreadGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (auto it = rows_.cbegin(); it != rows_.cend(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child) {
            return it.key() < childCount() ? it.key() : -1;
        }
    }
    return -1;
}

QAccessibleInterface* SpreadGridAccessible::childAt(int x, int y) const {
    const QPoint at = Grid()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = Grid()->indexAt(at);
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface* SpreadGridAccessible::focusChild() const {
    return Grid()->hasFocus() ? child(Grid()->currentRow()) : nullptr;
}

}  // namespace quarn::subsysmgr
