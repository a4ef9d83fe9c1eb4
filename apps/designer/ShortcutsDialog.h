#pragma once

#include <QDialog>

class QMainWindow;
class QTreeWidget;

namespace quarn::designer {

/// Lists every shortcut of a window in the session language, read from the window's actions
/// when the dialog is made, so that the list is the window's own: under each menu the actions
/// it holds, then the actions of the window that no menu holds (those of the tree and the find
/// box). An action in two menus is listed under the first.
class ShortcutsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ShortcutsDialog(QMainWindow& window);

    /// The list: one top-level item per menu, with the action's text and its keys as children.
    QTreeWidget* List() const { return list_; }

  private:
    QTreeWidget* list_ = nullptr;
};

}  // namespace quarn::designer
