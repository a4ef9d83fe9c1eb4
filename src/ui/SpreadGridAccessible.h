#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>

namespace quarn::subsysmgr {

class SpreadGrid;

/// What a screen reader is shown of a SpreadGrid: a list with one item per row, named by the
/// row's text (its display part), checkable and checked as the row's check box is, with a toggle
/// action. A row's check box and text cells, and the grid's hidden headers, are not shown apart,
/// so that each row is read once, as the one choice it is.
class SpreadGridAccessible : public QAccessibleWidget {
  public:
    explicit SpreadGridAccessible(SpreadGrid* grid);
    ~SpreadGridAccessible() override;

    /// The factory QAccessible::installFactory takes: this interface for a SpreadGrid.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

  private:
    SpreadGrid* Grid() const;

    mutable QHash<int, QAccessible::Id> rows_;  // the row items made so far, by row
};

}  // namespace quarn::subsysmgr
