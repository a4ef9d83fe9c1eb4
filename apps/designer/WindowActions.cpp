#include "WindowActions.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <initializer_list>

#include "DesignerIcons.h"
#include "DesignerTexts.h"
#include "SessionText.h"
#include "UndoSteps.h"
#include "VisibilityPreview.h"

namespace quarn::designer {

using Icon = DesignerIcons::Action;

WindowActions::WindowActions(QMainWindow& window, UndoSteps& undo, VisibilityPreview& preview,
                             const std::string& language)
    : QObject(&window), window_(window) {
    CreateActions();
    CreateMenus(undo, preview, language);
}

void WindowActions::CreateActions() {
    struct Made {
        QAction*& action;
        QKeySequence shortcut;
        std::optional<Icon> icon;
    };
    const Made made[] = {
        {newSqlite, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N), Icon::NewDatabase},
        {openSqlite, QKeySequence::Open, Icon::Open},
        {openPostgres, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), Icon::Connect},
        {openDemo, QKeySequence(), Icon::Open},
        {quit, QKeySequence::Quit, Icon::Quit},
        {newGroup, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), Icon::NewGroup},
        {editGroup, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), Icon::EditGroup},
        {deleteGroup, QKeySequence(Qt::SHIFT | Qt::Key_Delete), Icon::DeleteGroup},
        {newSubSystem, QKeySequence::New, Icon::NewSubSystem},
        {editSubSystem, QKeySequence(Qt::CTRL | Qt::Key_E), Icon::EditSubSystem},
        {deleteSubSystem, QKeySequence::Delete, Icon::DeleteSubSystem},
        {refresh, QKeySequence::Refresh, Icon::Refresh},
        {find, QKeySequence::Find, Icon::Find},
        {clearFilter, QKeySequence(Qt::Key_Escape), std::nullopt},
        {copyCode, QKeySequence::Copy, Icon::CopyCode},
        {showHistory, QKeySequence(Qt::CTRL | Qt::Key_H), Icon::History},
        {showProblems, QKeySequence(), std::nullopt},
        {moveUp, QKeySequence(Qt::ALT | Qt::Key_Up), Icon::MoveUp},
        {moveDown, QKeySequence(Qt::ALT | Qt::Key_Down), Icon::MoveDown},
        {moveToGroup, QKeySequence(Qt::CTRL | Qt::Key_M), Icon::MoveToGroup},
        {deleteSelected, QKeySequence(), Icon::Delete},
        {importFile, QKeySequence(), Icon::Import},
        {exportAll, QKeySequence(), Icon::Export},
        {exportSelection, QKeySequence(), Icon::Export},
        {upgradeRelease, QKeySequence(), Icon::Upgrade},
    };
    for (const Made& each : made) {
        each.action = new QAction(&window_);
        each.action->setShortcut(each.shortcut);
        if (each.icon) {
            each.action->setIcon(DesignerIcons::For(*each.icon));
        }
    }
    // Esc acts in the tree's pane (it clears the filter), Ctrl+C in the tree alone.
    clearFilter->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    copyCode->setShortcutContext(Qt::WidgetShortcut);
    showProblems->setCheckable(true);
}

void WindowActions::CreateMenus(UndoSteps& undo, VisibilityPreview& preview,
                                const std::string& language) {
    fileMenu_ = window_.menuBar()->addMenu(QString());
    fileMenu_->addActions({newSqlite, openSqlite, openPostgres, openDemo});
    fileMenu_->addSeparator();
    fileMenu_->addActions({importFile, exportAll, exportSelection});
    fileMenu_->addSeparator();
    fileMenu_->addAction(upgradeRelease);
    fileMenu_->addSeparator();
    fileMenu_->addAction(quit);
    editMenu_ = window_.menuBar()->addMenu(QString());
    editMenu_->addActions({undo.UndoAction(), undo.RedoAction()});
    undo.UndoAction()->setIcon(DesignerIcons::For(Icon::Undo));
    undo.RedoAction()->setIcon(DesignerIcons::For(Icon::Redo));
    groupMenu_ = window_.menuBar()->addMenu(QString());
    groupMenu_->addActions({newGroup, editGroup, deleteGroup});
    groupMenu_->addSeparator();
    groupMenu_->addActions({moveUp, moveDown});
    subSystemMenu_ = window_.menuBar()->addMenu(QString());
    subSystemMenu_->addActions({newSubSystem, editSubSystem, deleteSubSystem});
    subSystemMenu_->addSeparator();
    subSystemMenu_->addActions({moveUp, moveDown, moveToGroup});
    viewMenu_ = window_.menuBar()->addMenu(QString());
    viewMenu_->addActions({find, refresh, showHistory, showProblems});
    languageMenu_ = viewMenu_->addMenu(QString());
    auto* languages = new QActionGroup(&window_);
    for (const char* code : {"CHS", "CHT", "EN"}) {
        auto* choice = new QAction(QString::fromLatin1(code), languages);
        choice->setCheckable(true);
        choice->setChecked(language == code);
        connect(choice, &QAction::triggered, this,
                [this, code] { emit LanguageChosen(QString::fromLatin1(code)); });
    }
    languageMenu_->addActions(languages->actions());

    auto* toolbar = window_.addToolBar(QStringLiteral("main"));
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->addActions({newGroup, editGroup, deleteGroup});
    toolbar->addSeparator();
    toolbar->addActions({newSubSystem, editSubSystem, deleteSubSystem});
    toolbar->addSeparator();
    toolbar->addActions({undo.UndoAction(), undo.RedoAction()});
    toolbar->addSeparator();
    toolbar->addActions({refresh, find, showHistory});
    toolbar->addSeparator();
    toolbar->addActions({moveUp, moveDown});
    toolbar->addSeparator();
    // Names the chooser to screen readers (whose name for a combo box is its choice) and gives
    // it an access key.
    previewLabel_ = new QLabel(toolbar);
    previewLabel_->setBuddy(preview.Chooser());
    toolbar->addWidget(previewLabel_);
    toolbar->addWidget(preview.Chooser());
    viewMenu_->addMenu(preview.Menu());
    window_.statusBar()->addPermanentWidget(preview.StatusLabel());
}

void WindowActions::Retranslate() {
    fileMenu_->setTitle(Tr(texts::kMenuFile));
    editMenu_->setTitle(Tr(texts::kMenuEdit));
    groupMenu_->setTitle(Tr(texts::kMenuGroup));
    subSystemMenu_->setTitle(Tr(texts::kMenuSubSystem));
    viewMenu_->setTitle(Tr(texts::kMenuView));
    languageMenu_->setTitle(Tr(texts::kMenuLanguage));
    previewLabel_->setText(Tr(texts::kPreviewMenu));
    const std::pair<QAction*, std::string_view> named[] = {
        {newSqlite, texts::kNewSqlite},
        {openSqlite, texts::kOpenSqlite},
        {openPostgres, texts::kOpenPostgres},
        {openDemo, texts::kOpenDemo},
        {quit, texts::kQuit},
        {newGroup, texts::kNewGroup},
        {editGroup, texts::kEditGroup},
        {deleteGroup, texts::kDeleteGroup},
        {newSubSystem, texts::kNewSubSystem},
        {editSubSystem, texts::kEditSubSystem},
        {deleteSubSystem, texts::kDeleteSubSystem},
        {refresh, texts::kRefresh},
        {find, texts::kFind},
        {copyCode, texts::kCopyCode},
        {showHistory, texts::kShowHistory},
        {showProblems, texts::kShowProblems},
        {moveUp, texts::kMoveUp},
        {moveDown, texts::kMoveDown},
        {moveToGroup, texts::kMoveToGroup},
        {deleteSelected, texts::kDeleteSelected},
        {importFile, texts::kImport},
        {exportAll, texts::kExportAll},
        {exportSelection, texts::kExportSelection},
        {upgradeRelease, texts::kUpgrade},
        {clearFilter, texts::kClearFilter},
    };
    for (const auto& [action, text] : named) {
        action->setText(Tr(text));
    }
}

void WindowActions::Enable(const Chosen& chosen) {
    // Without a database the File menu's ways to one, the languages and the help are left.
    for (QAction* action : {newGroup, refresh, find, clearFilter, importFile, exportAll,
                            showProblems, upgradeRelease}) {
        action->setEnabled(chosen.database);
    }
    previewLabel_->setEnabled(chosen.database);  // the window enables the chooser itself
    editGroup->setEnabled(chosen.group);
    // Del and Shift+Del delete a selection of several whatever item is current.
    const bool several = chosen.selected > 1;
    deleteGroup->setEnabled((chosen.group && !chosen.subSystem) || several);
    newSubSystem->setEnabled(chosen.group);
    editSubSystem->setEnabled(chosen.subSystem);
    deleteSubSystem->setEnabled(chosen.subSystem || several);
    moveUp->setEnabled(chosen.group);
    moveDown->setEnabled(chosen.group);
    moveToGroup->setEnabled(chosen.subSystem);
    showHistory->setEnabled(chosen.group);
    copyCode->setEnabled(chosen.current);
    deleteSelected->setEnabled(chosen.selected > 0);
    exportSelection->setEnabled(chosen.selected > 0);
}

QMenu* WindowActions::ContextMenu(std::optional<ItemKind> kind, bool several,
                                  QWidget* parent) const {
    auto* menu = new QMenu(parent);
    if (several) {
        menu->addActions({deleteSelected, copyCode, exportSelection});
    } else if (!kind) {
        menu->addAction(newGroup);
    } else if (kind == ItemKind::Group) {
        menu->addActions({newSubSystem, editGroup, deleteGroup});
        menu->addSeparator();
        menu->addActions({moveUp, moveDown});
        menu->addSeparator();
        menu->addActions({copyCode, showHistory, exportSelection});
        menu->addSeparator();
        menu->addAction(newGroup);
    } else if (kind == ItemKind::SubSystem) {
        menu->addActions({newSubSystem, editSubSystem, deleteSubSystem});
        menu->addSeparator();
        menu->addActions({moveUp, moveDown, moveToGroup});
        menu->addSeparator();
        menu->addActions({copyCode, showHistory, exportSelection});
    } else if (kind == ItemKind::BusinessObject) {
        menu->addAction(copyCode);
    }
    if (menu->isEmpty()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

}  // namespace quarn::designer
