#pragma once

#include <QMainWindow>
#include <optional>
#include <string>

#include "foundation/ComError.h"
#include "suite/HostSession.h"

class QLabel;
class QLineEdit;
class QMenu;
class QStackedWidget;
class QTabWidget;
class QTreeView;

namespace quarn::designer {

class DatabaseActions;
class FunctionalTreeModel;
class DesignerHelp;
class DetailsPane;
class ExchangeActions;
class ReleaseActions;
class HistoryPane;
class ProblemsPane;
class ItemActions;
class LiveRefresh;
class NoDatabasePanel;
class TreeNarrowing;
class UndoSteps;
class VisibilityPreview;
class WindowActions;

/// The designer's window: the functional tree with its filter box, the details and the history
/// of the selected item, and the actions that open the editors, change the tree, switch the
/// language and the database (WindowActions, ItemActions, DatabaseActions); the tree narrowed
/// by a search or a preview (TreeNarrowing). While the session's database cannot be read, a
/// panel in place of the tree and the details says why (NoDatabasePanel), and every action that
/// needs the database is disabled.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(suite::HostSession& session, QWidget* parent = nullptr);

    /// Reads the groups the first time; later brings what the tree shows up to date with the
    /// database, with progress for long work, keeping the selection, the expanded items and the
    /// scroll position. Says in the status bar what it read. Runs by itself when another user
    /// changed the tree. When the tree cannot be read, shows why in place of it.
    void Reload();
    /// Whether the tree shows the session's database; false while the window says why it cannot
    /// read it.
    bool HasDatabase() const { return !unreadable_; }
    /// Selects a group (subSystemId 0) or one of its subsystems, expanded.
    void Select(int32_t groupId, int32_t subSystemId);
    /// Brings the history of the selected item to the front.
    void ShowHistory();
    /// Shows the Problems pane.
    void ShowProblems();
    /// The context menu of the item at `position` (in the tree's viewport), which it makes the
    /// current item unless it is selected already: the actions that apply to it, or to the
    /// selection of several. The caller owns the menu; nullptr where no action applies.
    QMenu* ContextMenuAt(const QPoint& position);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    /// The tree with its filter box, and the tabs of the details and the history.
    QWidget* CreatePanes();
    /// The tree and the details, or the panel that says why the database cannot be read
    /// (`failure`), which then takes the focus.
    void ShowReadable(const std::optional<ComError>& failure);
    /// Opens the session's database again; says so in a message box when it still fails.
    void RetryDatabase();
    void ConnectActions();
    void ConnectTree();
    /// The context menu of the item at `at` (in the tree's viewport), there.
    void PopUpContextMenu(const QPoint& at);
    /// The database and how many groups and subsystems it holds, in the status bar.
    void ShowCounts();
    /// Says in the status bar when the database's delivered tree is older than the program's.
    void ShowRelease();
    void Retranslate();
    /// The title names the database, by its description (never with a password).
    void ShowTitle();
    void ShowDetails();
    void UpdateActions();
    /// Exports the selected groups (with their subsystems) and subsystems.
    void ExportSelection();
    void CopyCode();
    void SwitchLanguage(const std::string& language);
    /// Reads the tree anew after the session's database was given anew (`opened`: another one).
    void DatabaseSwitched(bool opened);

    suite::HostSession& session_;
    LiveRefresh* liveRefresh_ = nullptr;
    FunctionalTreeModel* model_ = nullptr;
    QTreeView* tree_ = nullptr;
    QLineEdit* filter_ = nullptr;
    bool loaded_ = false;  // the model has read the groups of the session's database
    bool reloading_ = false;
    std::optional<ComError> unreadable_;  // why the last read of the tree failed
    QStackedWidget* central_ = nullptr;   // the panes, or the panel without a database
    QWidget* panes_ = nullptr;
    NoDatabasePanel* noDatabase_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    DetailsPane* details_ = nullptr;
    HistoryPane* history_ = nullptr;
    ProblemsPane* problems_ = nullptr;
    QLabel* counts_ = nullptr;       // the database and its counts, in the status bar
    QLabel* releaseNote_ = nullptr;  // a database on an older release of the delivered tree
    UndoSteps* undo_ = nullptr;
    VisibilityPreview* preview_ = nullptr;
    ExchangeActions* exchange_ = nullptr;
    ReleaseActions* releases_ = nullptr;
    WindowActions* actions_ = nullptr;
    ItemActions* items_ = nullptr;
    DatabaseActions* databases_ = nullptr;
    TreeNarrowing* narrowing_ = nullptr;
    DesignerHelp* help_ = nullptr;
};

}  // namespace quarn::designer
