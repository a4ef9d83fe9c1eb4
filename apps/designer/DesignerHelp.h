#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

#include "suite/HostSession.h"

class QAction;
class QMainWindow;
class QMenu;
class QModelIndex;
class QTreeView;

namespace quarn::designer {

/// The program's version, as the command-line tool gives it.
const char* DesignerVersion();

/// The Help menu of the designer's window: the help pages of the two editors, help on the
/// selected item (F1), the window's keyboard shortcuts and About.
class DesignerHelp : public QObject {
    Q_OBJECT

  public:
    /// Adds the menu at the end of `window`'s menu bar; F1 shows the help of `tree`'s current
    /// item. Both outlive this object (it is their child).
    DesignerHelp(suite::HostSession& session, QMainWindow& window, QTreeView& tree);

    /// The texts in the session language.
    void Retranslate();

    /// The help topic of a tree item: that of the editor that changes it. A group has the group
    /// editor's; a subsystem and everything under it the subsystem editor's; no item the group
    /// editor's, the top of the tree.
    static int32_t TopicOf(const QModelIndex& item);
    /// Shows a topic's page beside the window, as the editors' F1 does; a topic without a page is
    /// reported in the component's message box.
    void ShowTopic(int32_t topic);
    /// The About text (HTML): the program, its version, the Qt it runs on and the database the
    /// session uses, by the description the title bar shows, which never holds a password.
    static QString AboutText(const suite::HostSession& session);

  private:
    suite::HostSession& session_;
    QMainWindow& window_;
    QTreeView& tree_;
    QMenu* menu_ = nullptr;
    QAction* selectedHelp_ = nullptr;
    QAction* groupHelp_ = nullptr;
    QAction* subSystemHelp_ = nullptr;
    QAction* shortcuts_ = nullptr;
    QAction* about_ = nullptr;
};

}  // namespace quarn::designer
