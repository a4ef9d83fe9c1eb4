#pragma once

#include <QTreeView>

class QAccessibleInterface;

namespace quarn::designer {

/// The view of the functional tree, which tells screen readers what Qt's view leaves untold or
/// tells out of turn: the current row when the tree gets the focus (after the tree itself, so
/// that the row is what is read) and each row expanded or collapsed (the current one announced
/// anew, which is what reaches a screen reader on Qt 6.4); and a current row chosen
/// while the focus is elsewhere (by a search typed in the search box) is not announced as the
/// focus, which would take the reader away from where the user types. Shift+F10 asks for the
/// context menu over the current item, as the Menu key does. The view shows whole rows only: the
/// height left below the last whole row stays blank.
class FunctionalTreeView : public QTreeView {
    Q_OBJECT

  public:
    explicit FunctionalTreeView(QWidget* parent = nullptr);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;

  private:
    /// The accessible cell of the index's first column where the view shows it; else nullptr.
    QAccessibleInterface* AccessibleCell(const QModelIndex& index) const;
    void AnnounceCurrent();
    void AnnounceExpanded(const QModelIndex& index);
};

}  // namespace quarn::designer
