#pragma once

#include <QMainWindow>
#include <string>
#include <string_view>

#include "suite/HostSession.h"

class QAction;
class QActionGroup;
class QMenu;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace quarn::designer {

class HistoryPane;
class LiveRefresh;

/// The designer's window: the functional tree, the details of the selected item, and the
/// actions that open the editors, delete items, switch the language and the database.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(suite::HostSession& session, QWidget* parent = nullptr);

    /// Reads the tree again, with progress for long loads, keeping the selection, the expanded
    /// items and the scroll position; says in the status bar what it read. Runs by itself when
    /// another user changed the tree.
    void Reload();
    /// Selects a group (subSystemId 0) or one of its subsystems, expanded.
    void Select(int32_t groupId, int32_t subSystemId);
    /// Brings the history of the selected item to the front.
    void ShowHistory();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateActions();
    void Retranslate();
    /// The title names the database, by its description (never with a password).
    void ShowTitle();
    /// Makes the session current again with the Qt platform, after a change of its language or
    /// database.
    void ActivateSession();
    void ShowDetails();
    void UpdateActions();
    int32_t SelectedGroupId() const;
    int32_t SelectedSubSystemId() const;
    QString Tr(std::string_view text) const;
    /// Runs an action on the component; its numbered error is shown in the component's box.
    bool Guarded(const std::function<void()>& action);

    void NewGroup();
    void EditGroup();
    void DeleteGroup();
    void NewSubSystem();
    void EditSubSystem();
    void DeleteSubSystem();
    /// Restores the item of the history pane to its state before the change, after asking;
    /// over a later change only when the user confirms forcing it.
    void RevertChange(int64_t change);
    void SwitchLanguage(const std::string& language);
    /// Opens another database; when it cannot be opened, the current one stays.
    void SwitchDatabase(const std::string& database, const std::string& password = {});
    void NewSqlite();
    void OpenSqlite();
    void OpenPostgres();

    suite::HostSession& session_;
    // The database as given, with its password, to go back to when another one fails to open.
    std::string openedDatabase_;
    std::string openedPassword_;
    LiveRefresh* liveRefresh_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTextBrowser* details_ = nullptr;
    HistoryPane* history_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* groupMenu_ = nullptr;
    QMenu* subSystemMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    QAction* newSqlite_ = nullptr;
    QAction* openSqlite_ = nullptr;
    QAction* openPostgres_ = nullptr;
    QAction* openDemo_ = nullptr;
    QAction* quit_ = nullptr;
    QAction* newGroup_ = nullptr;
    QAction* editGroup_ = nullptr;
    QAction* deleteGroup_ = nullptr;
    QAction* newSubSystem_ = nullptr;
    QAction* editSubSystem_ = nullptr;
    QAction* deleteSubSystem_ = nullptr;
    QAction* refresh_ = nullptr;
    QActionGroup* languages_ = nullptr;
};

}  // namespace quarn::designer
