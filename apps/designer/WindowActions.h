#pragma once

#include <QObject>
#include <optional>
#include <string>

#include "TreeRows.h"

class QAction;
class QActionGroup;
class QLabel;
class QMainWindow;
class QMenu;
class QWidget;

namespace quarn::designer {

class UndoSteps;
class VisibilityPreview;

/// The designer window's actions with their shortcuts and icons, its menus and toolbar, in the
/// manner of a form's generated class: Setup makes them, Retranslate names them in the session
/// language, Enable enables them by what the tree has chosen. What each action does the window
/// connects.
class WindowActions : public QObject {
    Q_OBJECT

  public:
    /// Makes the actions and puts them into `window`'s menu bar (File; Edit with `undo`'s
    /// actions; Group; Subsystem; View with `preview`'s menu and the languages, `language`
    /// checked) and a toolbar (with `preview`'s chooser). All belong to `window`.
    WindowActions(QMainWindow& window, UndoSteps& undo, VisibilityPreview& preview,
                  const std::string& language);

    void Retranslate();

    /// What the tree has chosen, from the session's database; nothing without one.
    struct Chosen {
        bool database = false;   // the tree shows the session's database
        bool group = false;      // a group or subsystem is current
        bool subSystem = false;  // a subsystem is current
        bool current = false;    // any item is current
        int selected = 0;        // groups and subsystems selected
    };
    void Enable(const Chosen& chosen);
    /// The context menu over an item of `kind` (none: below the items), or over a selection of
    /// several: the actions that apply to it. The caller owns the menu; nullptr where no action
    /// applies.
    QMenu* ContextMenu(std::optional<ItemKind> kind, bool several, QWidget* parent) const;

    QAction* newSqlite = nullptr;
    QAction* openSqlite = nullptr;
    QAction* openPostgres = nullptr;
    QAction* openDemo = nullptr;
    QAction* importFile = nullptr;
    QAction* upgradeRelease = nullptr;
    QAction* exportAll = nullptr;
    QAction* exportSelection = nullptr;
    QAction* quit = nullptr;
    QAction* newGroup = nullptr;
    QAction* editGroup = nullptr;
    QAction* deleteGroup = nullptr;
    QAction* newSubSystem = nullptr;
    QAction* editSubSystem = nullptr;
    QAction* deleteSubSystem = nullptr;
    QAction* deleteSelected = nullptr;
    QAction* moveUp = nullptr;
    QAction* moveDown = nullptr;
    QAction* moveToGroup = nullptr;
    QAction* refresh = nullptr;
    QAction* find = nullptr;
    QAction* clearFilter = nullptr;
    QAction* copyCode = nullptr;
    QAction* showHistory = nullptr;
    QAction* showProblems = nullptr;  ///< checked while the Problems pane is shown

  signals:
    /// The user chose the names' language: CHS, CHT or EN.
    void LanguageChosen(const QString& language);

  private:
    void CreateActions();
    void CreateMenus(UndoSteps& undo, VisibilityPreview& preview, const std::string& language);

    QMainWindow& window_;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* groupMenu_ = nullptr;
    QMenu* subSystemMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    QLabel* previewLabel_ = nullptr;  // the preview chooser's label
};

}  // namespace quarn::designer
