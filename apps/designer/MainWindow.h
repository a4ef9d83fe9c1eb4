#pragma once

#include <QMainWindow>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FunctionalTreeModel.h"
#include "host/IChangeHistory.h"
#include "suite/HostSession.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTextBrowser;
class QTreeView;

namespace quarn::designer {

class DesignerHelp;
class ExchangeActions;
class HistoryPane;
class LiveRefresh;
class UndoSteps;
class VisibilityPreview;

/// The designer's window: the functional tree, the details of the selected item, and the
/// actions that open the editors, delete items, switch the language and the database.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(suite::HostSession& session, QWidget* parent = nullptr);

    /// Reads the groups the first time; later brings what the tree shows up to date with the
    /// database, with progress for long work, keeping the selection, the expanded items and the
    /// scroll position. Says in the status bar what it read. Runs by itself when another user
    /// changed the tree.
    void Reload();
    /// Selects a group (subSystemId 0) or one of its subsystems, expanded.
    void Select(int32_t groupId, int32_t subSystemId);
    /// Brings the history of the selected item to the front.
    void ShowHistory();
    /// The context menu of the item at `position` (in the tree's viewport), which it makes the
    /// current item unless it is selected already: the actions that apply to it, or to the
    /// selection of several. The caller owns the menu; nullptr where no action applies.
    QMenu* ContextMenuAt(const QPoint& position);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // What the user had open, to open again after the rows were made anew.
    struct OpenItems {
        int32_t group = -1;
        int32_t subSystem = 0;
        std::vector<int32_t> groups;
        std::vector<std::pair<int32_t, int32_t>> subSystems;  // group, subsystem
        int scrolled = 0;
    };
    OpenItems OpenItemsOf() const;
    void Reopen(const OpenItems& open);
    /// Opens `open` again with the item chosen in `before` still chosen where it is shown,
    /// scrolled to it.
    void ReopenChosen(OpenItems open, const OpenItems& before);
    /// Narrows or widens what the tree shows by `change`, which reads with progress and Cancel;
    /// false when it was cancelled or failed (its error shown).
    bool ChangeShown(const std::function<bool(const ProgressStep&)>& change);
    /// The database and how many groups and subsystems it holds, in the status bar.
    void ShowCounts();
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
    /// Deletes the selected groups and subsystems after one confirmation that lists them, each
    /// in a transaction of its own; says which were refused and why.
    void DeleteSelected();
    /// Shows what the filter box holds; restores what was open before when it is cleared.
    void ApplyFilter();
    /// Shows the tree as the viewer chosen in the preview sees it; restores what was open before
    /// when the preview is switched off.
    void ApplyPreview();
    /// Exports the selected groups (with their subsystems) and subsystems.
    void ExportSelection();
    void CopyCode();
    /// Moves the current group or subsystem one place up (-1) or down (1) among its siblings.
    void MoveBy(int step);
    void MoveToGroup();
    /// Puts the dropped items (see FunctionalTreeModel::MoveRequested) in their new place.
    void Drop(int kind, const QList<int>& ids, const QList<int>& fromGroups, int toGroup,
              int beforeId);
    /// Deletes the items, each at the version the tree shows, through TreeActions as one undo
    /// step, then says which were refused and why (`labels` names them by kind and identifier).
    void DeleteItems(const std::vector<TreeItemRef>& items, const std::vector<int64_t>& versions,
                     const std::map<std::pair<int, int32_t>, QString>& labels = {});
    /// The version of the group or subsystem the tree shows.
    int64_t ShownVersion(ItemKind kind, int32_t id, int32_t groupId);
    /// Writes a new order of one parent's items through TreeActions::Place, then shows it with
    /// the first placed item selected.
    void Place(int kind, std::vector<TreeEntry> wanted, const std::vector<int32_t>& placed,
               int32_t toGroup);
    /// The selected groups and subsystems (column 0, in the tree's order).
    QModelIndexList SelectedItems() const;
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
    FunctionalTreeModel* model_ = nullptr;
    QTreeView* tree_ = nullptr;
    QLineEdit* filter_ = nullptr;
    std::optional<OpenItems> unfiltered_;   // what was open before the filter
    std::optional<OpenItems> unpreviewed_;  // what was open before the preview
    VisibilityPreview* preview_ = nullptr;
    ExchangeActions* exchange_ = nullptr;
    QAction* import_ = nullptr;
    QAction* exportAll_ = nullptr;
    QAction* exportSelection_ = nullptr;
    bool loaded_ = false;  // the model has read the groups of the session's database
    bool reloading_ = false;
    QTabWidget* tabs_ = nullptr;
    QTextBrowser* details_ = nullptr;
    QLabel* counts_ = nullptr;  // the database and its counts, in the status bar
    HistoryPane* history_ = nullptr;
    UndoSteps* undo_ = nullptr;
    QMenu* editMenu_ = nullptr;
    DesignerHelp* help_ = nullptr;
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
    QAction* find_ = nullptr;
    QAction* clearFilter_ = nullptr;
    QAction* copyCode_ = nullptr;
    QAction* showHistory_ = nullptr;
    QAction* moveUp_ = nullptr;
    QAction* moveDown_ = nullptr;
    QAction* moveToGroup_ = nullptr;
    QAction* deleteSelected_ = nullptr;
    QActionGroup* languages_ = nullptr;
};

}  // namespace quarn::designer
