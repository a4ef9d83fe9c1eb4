#include "MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <map>
#include <set>
#include <unordered_set>

#include "DesignerHelp.h"
#include "DesignerIcons.h"
#include "DesignerSettings.h"
#include "DesignerTexts.h"
#include "ErrorNumberText.h"
#include "ExchangeActions.h"
#include "FunctionalTreeModel.h"
#include "HistoryPane.h"
#include "LiveRefresh.h"
#include "LongWork.h"
#include "PostgresDialog.h"
#include "UndoSteps.h"
#include "VisibilityPreview.h"
#include "exchange/ChangeSteps.h"
#include "exchange/ExchangeText.h"
#include "exchange/TreeActions.h"
#include "foundation/ComError.h"
#include "host/IClassInfo.h"
#include "host/IMessageBox.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "runtime/SessionContext.h"
#include "suite/DataPaths.h"
#include "ui/QtPlatform.h"
#include "ui/QtText.h"
#include "ui/SubSysGroupMgrUI.h"
#include "ui/SubSystemMgrUI.h"

namespace quarn::designer {

using subsysmgr::ModuleState;
using subsysmgr::ToQString;
namespace exchange = subsysmgr::exchange;

namespace {

// A filter that matches more subsystems than this opens only the first groups, up to about as
// many rows; the rest stay closed.
constexpr int kOpenedMatches = 2000;
// A confirmation names this many items; the rest are counted.
constexpr int kListedItems = 20;

QString Escaped(const std::string& text) {
    return ToQString(text).toHtmlEscaped();
}

// "code  name" of a row, as the confirmations and the results list items.
QString Labelled(const QModelIndex& index) {
    return index.siblingAtColumn(FunctionalTreeModel::kCodeColumn).data().toString() +
           QStringLiteral("  ") +
           index.siblingAtColumn(FunctionalTreeModel::kNameColumn).data().toString();
}

}  // namespace

MainWindow::MainWindow(suite::HostSession& session, QWidget* parent)
    : QMainWindow(parent), session_(session), openedDatabase_(session.DatabaseSpec()) {
    model_ = new FunctionalTreeModel(this);
    model_->SetLanguage(session_.Language());
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("functionalTree"));
    // Rows of one height let the view lay out a tree of any size by its visible rows alone.
    tree_->setUniformRowHeights(true);
    tree_->setModel(model_);
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree_->setDragDropMode(QAbstractItemView::InternalMove);
    tree_->setDefaultDropAction(Qt::MoveAction);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->header()->setStretchLastSection(true);
    tree_->header()->setSectionResizeMode(FunctionalTreeModel::kCodeColumn,
                                          QHeaderView::Interactive);
    tree_->header()->resizeSection(
        FunctionalTreeModel::kCodeColumn,
        tree_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) +
            3 * tree_->indentation());
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setClearButtonEnabled(true);
    auto* treePane = new QWidget(this);
    auto* treeLayout = new QVBoxLayout(treePane);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->setSpacing(2);
    treeLayout->addWidget(filter_);
    treeLayout->addWidget(tree_);
    details_ = new QTextBrowser(this);
    history_ = new HistoryPane(session_, this);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(details_, QString());
    tabs_->addTab(history_, QString());
    auto* splitter = new QSplitter(this);
    splitter->addWidget(treePane);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    setCentralWidget(splitter);

    // Apart from the passing messages, which a hovered action's empty tip would clear.
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("treeCounts"));
    statusBar()->addPermanentWidget(counts_);
    CreateActions();
    // Esc clears the filter from the box and from the tree.
    treePane->addAction(clearFilter_);
    tree_->addAction(copyCode_);
    setWindowIcon(DesignerIcons::Application());
    // Last in the menu bar, as on every desktop.
    help_ = new DesignerHelp(session_, *this, *tree_);
    Retranslate();
    liveRefresh_ = new LiveRefresh(this);
    liveRefresh_->Watch(session_);
    connect(liveRefresh_, &LiveRefresh::TreeChanged, this, &MainWindow::Reload);
    connect(history_, &HistoryPane::RevertRequested, this, &MainWindow::RevertChange);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        ShowDetails();
        UpdateActions();
    });
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::UpdateActions);
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* menu = ContextMenuAt(at)) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(tree_->viewport()->mapToGlobal(at));
        }
    });
    connect(filter_, &QLineEdit::textChanged, this, &MainWindow::ApplyFilter);
    // After the drop has ended, so that messages and the refresh run outside the drag.
    connect(model_, &FunctionalTreeModel::MoveRequested, this, &MainWindow::Drop,
            Qt::QueuedConnection);
    // Shown after the view's call that read, outside it.
    connect(
        model_, &FunctionalTreeModel::ReadFailed, this,
        [](const QString& description, int number) {
            subsysmgr::ShowMessage(*ModuleState::Current(),
                                   ErrorMessage(ComError(number, {}, description.toStdString())),
                                   kMessageBoxWarning);
        },
        Qt::QueuedConnection);
    connect(tree_, &QTreeView::activated, this, [this](const QModelIndex& index) {
        const auto kind = static_cast<ItemKind>(index.data(kKindRole).toInt());
        if (kind == ItemKind::Group) {
            EditGroup();
        } else if (kind == ItemKind::SubSystem) {
            EditSubSystem();
        }
    });

    QSettings settings;
    restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
    if (!restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray())) {
        resize(1000, 700);
    }
}

QString MainWindow::Tr(std::string_view text) const {
    return ToQString(subsysmgr::GetLocalText(*ModuleState::Current(), text));
}

void MainWindow::CreateActions() {
    auto action = [this](const QKeySequence& shortcut, auto slot) {
        auto* created = new QAction(this);
        created->setShortcut(shortcut);
        connect(created, &QAction::triggered, this, slot);
        return created;
    };
    newSqlite_ = action(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N), &MainWindow::NewSqlite);
    openSqlite_ = action(QKeySequence::Open, &MainWindow::OpenSqlite);
    openPostgres_ =
        action(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), &MainWindow::OpenPostgres);
    openDemo_ = action(QKeySequence(), [this] { SwitchDatabase(""); });
    quit_ = action(QKeySequence::Quit, &QWidget::close);
    newGroup_ = action(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), &MainWindow::NewGroup);
    editGroup_ = action(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &MainWindow::EditGroup);
    deleteGroup_ = action(QKeySequence(Qt::SHIFT | Qt::Key_Delete), &MainWindow::DeleteGroup);
    newSubSystem_ = action(QKeySequence::New, &MainWindow::NewSubSystem);
    editSubSystem_ = action(QKeySequence(Qt::CTRL | Qt::Key_E), &MainWindow::EditSubSystem);
    deleteSubSystem_ = action(QKeySequence::Delete, &MainWindow::DeleteSubSystem);
    refresh_ = action(QKeySequence::Refresh, &MainWindow::Reload);
    find_ = action(QKeySequence::Find, [this] {
        filter_->setFocus();
        filter_->selectAll();
    });
    clearFilter_ = action(QKeySequence(Qt::Key_Escape), [this] {
        filter_->clear();
        tree_->setFocus();
    });
    clearFilter_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    copyCode_ = action(QKeySequence::Copy, &MainWindow::CopyCode);
    copyCode_->setShortcutContext(Qt::WidgetShortcut);
    showHistory_ = action(QKeySequence(Qt::CTRL | Qt::Key_H), &MainWindow::ShowHistory);
    moveUp_ = action(QKeySequence(Qt::ALT | Qt::Key_Up), [this] { MoveBy(-1); });
    moveDown_ = action(QKeySequence(Qt::ALT | Qt::Key_Down), [this] { MoveBy(1); });
    moveToGroup_ = action(QKeySequence(Qt::CTRL | Qt::Key_M), &MainWindow::MoveToGroup);
    deleteSelected_ = action(QKeySequence(), &MainWindow::DeleteSelected);
    exchange_ = new ExchangeActions(session_, this);
    // Whatever an import wrote shows at once.
    connect(exchange_, &ExchangeActions::Imported, this, [this] { Reload(); });
    import_ = action(QKeySequence(), [this] { exchange_->Import(); });
    exportAll_ = action(QKeySequence(), [this] { exchange_->ExportAll(); });
    exportSelection_ = action(QKeySequence(), &MainWindow::ExportSelection);
    using Icon = DesignerIcons::Action;
    const auto iconify = [](Icon icon, std::initializer_list<QAction*> actions) {
        for (QAction* each : actions) {
            each->setIcon(DesignerIcons::For(icon));
        }
    };
    iconify(Icon::NewDatabase, {newSqlite_});
    iconify(Icon::Open, {openSqlite_, openDemo_});
    iconify(Icon::Connect, {openPostgres_});
    iconify(Icon::Quit, {quit_});
    iconify(Icon::NewGroup, {newGroup_});
    iconify(Icon::NewSubSystem, {newSubSystem_});
    iconify(Icon::Edit, {editGroup_, editSubSystem_});
    iconify(Icon::Delete, {deleteGroup_, deleteSubSystem_, deleteSelected_});
    iconify(Icon::Refresh, {refresh_});
    iconify(Icon::Find, {find_});
    iconify(Icon::History, {showHistory_});
    iconify(Icon::MoveUp, {moveUp_});
    iconify(Icon::MoveDown, {moveDown_});
    iconify(Icon::MoveToGroup, {moveToGroup_});
    iconify(Icon::CopyCode, {copyCode_});
    iconify(Icon::Import, {import_});
    iconify(Icon::Export, {exportAll_, exportSelection_});

    languages_ = new QActionGroup(this);
    for (const char* code : {"CHS", "CHT", "EN"}) {
        auto* language = new QAction(QString::fromLatin1(code), languages_);
        language->setCheckable(true);
        language->setChecked(session_.Language() == code);
        connect(language, &QAction::triggered, this, [this, code] { SwitchLanguage(code); });
    }

    fileMenu_ = menuBar()->addMenu(QString());
    fileMenu_->addActions({newSqlite_, openSqlite_, openPostgres_, openDemo_});
    fileMenu_->addSeparator();
    fileMenu_->addActions({import_, exportAll_, exportSelection_});
    fileMenu_->addSeparator();
    fileMenu_->addAction(quit_);
    undo_ = new UndoSteps(this);
    connect(undo_, &UndoSteps::Applied, this, [this](int groupId, int subSystemId) {
        Reload();
        Select(groupId, subSystemId);
    });
    editMenu_ = menuBar()->addMenu(QString());
    editMenu_->addActions({undo_->UndoAction(), undo_->RedoAction()});
    iconify(Icon::Undo, {undo_->UndoAction()});
    iconify(Icon::Redo, {undo_->RedoAction()});
    // An import is one step, however many items it wrote.
    exchange_->RecordStepsWith([this](const std::vector<TreeItemRef>& items, std::size_t count,
                                      const std::function<std::vector<TreeItemRef>()>& write) {
        undo_->Record({texts::kStepImport, QString::number(count)}, items,
                      [&](UndoSteps::Recording& step) { step.added = write(); });
    });
    groupMenu_ = menuBar()->addMenu(QString());
    groupMenu_->addActions({newGroup_, editGroup_, deleteGroup_});
    groupMenu_->addSeparator();
    groupMenu_->addActions({moveUp_, moveDown_});
    subSystemMenu_ = menuBar()->addMenu(QString());
    subSystemMenu_->addActions({newSubSystem_, editSubSystem_, deleteSubSystem_});
    subSystemMenu_->addSeparator();
    subSystemMenu_->addActions({moveUp_, moveDown_, moveToGroup_});
    viewMenu_ = menuBar()->addMenu(QString());
    viewMenu_->addActions({find_, refresh_, showHistory_});
    languageMenu_ = viewMenu_->addMenu(QString());
    languageMenu_->addActions(languages_->actions());

    auto* toolbar = addToolBar(QStringLiteral("main"));
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->addActions({newGroup_, editGroup_, deleteGroup_});
    toolbar->addSeparator();
    toolbar->addActions({newSubSystem_, editSubSystem_, deleteSubSystem_});
    toolbar->addSeparator();
    toolbar->addActions({undo_->UndoAction(), undo_->RedoAction()});
    toolbar->addSeparator();
    toolbar->addActions({refresh_, find_, showHistory_});
    toolbar->addSeparator();
    toolbar->addActions({moveUp_, moveDown_});
    preview_ = new VisibilityPreview(this);
    toolbar->addSeparator();
    toolbar->addWidget(preview_->Chooser());
    viewMenu_->addMenu(preview_->Menu());
    statusBar()->addPermanentWidget(preview_->StatusLabel());
    connect(preview_, &VisibilityPreview::ViewerChosen, this, &MainWindow::ApplyPreview);
    UpdateActions();
}

void MainWindow::Retranslate() {
    ShowTitle();
    fileMenu_->setTitle(Tr(texts::kMenuFile));
    editMenu_->setTitle(Tr(texts::kMenuEdit));
    undo_->Retranslate();
    groupMenu_->setTitle(Tr(texts::kMenuGroup));
    subSystemMenu_->setTitle(Tr(texts::kMenuSubSystem));
    viewMenu_->setTitle(Tr(texts::kMenuView));
    languageMenu_->setTitle(Tr(texts::kMenuLanguage));
    newSqlite_->setText(Tr(texts::kNewSqlite));
    openSqlite_->setText(Tr(texts::kOpenSqlite));
    openPostgres_->setText(Tr(texts::kOpenPostgres));
    openDemo_->setText(Tr(texts::kOpenDemo));
    quit_->setText(Tr(texts::kQuit));
    newGroup_->setText(Tr(texts::kNewGroup));
    editGroup_->setText(Tr(texts::kEditGroup));
    deleteGroup_->setText(Tr(texts::kDeleteGroup));
    newSubSystem_->setText(Tr(texts::kNewSubSystem));
    editSubSystem_->setText(Tr(texts::kEditSubSystem));
    deleteSubSystem_->setText(Tr(texts::kDeleteSubSystem));
    refresh_->setText(Tr(texts::kRefresh));
    find_->setText(Tr(texts::kFind));
    filter_->setPlaceholderText(Tr(texts::kFindHint));
    copyCode_->setText(Tr(texts::kCopyCode));
    showHistory_->setText(Tr(texts::kShowHistory));
    moveUp_->setText(Tr(texts::kMoveUp));
    moveDown_->setText(Tr(texts::kMoveDown));
    moveToGroup_->setText(Tr(texts::kMoveToGroup));
    deleteSelected_->setText(Tr(texts::kDeleteSelected));
    details_->setPlaceholderText(Tr(texts::kSelectHint));
    tabs_->setTabText(0, Tr(texts::kDetailsTab));
    tabs_->setTabText(1, Tr(texts::kHistoryTab));
    history_->Retranslate();
    import_->setText(Tr(texts::kImport));
    exportAll_->setText(Tr(texts::kExportAll));
    exportSelection_->setText(Tr(texts::kExportSelection));
    clearFilter_->setText(Tr(texts::kClearFilter));
    help_->Retranslate();
}

void MainWindow::ShowTitle() {
    setWindowTitle(Tr(texts::kWindowTitle) + QStringLiteral(" - ") +
                   ToQString(session_.DatabaseDescription()));
}

void MainWindow::ActivateSession() {
    session_.Activate();
    subsysmgr::InstallQtPlatform(*session_.Module(), session_.Registry(),
                                 suite::DataDirectory() / "help");
}

bool MainWindow::Guarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const ComError& error) {
        subsysmgr::ShowMessage(*ModuleState::Current(), ErrorMessage(error), kMessageBoxWarning);
    }
    return false;
}

void MainWindow::Select(int32_t groupId, int32_t subSystemId) {
    const QModelIndex group = model_->GroupIndex(groupId);
    if (!group.isValid()) {
        return;
    }
    const QModelIndex subSystem =
        subSystemId != 0 ? model_->SubSystemIndex(groupId, subSystemId) : QModelIndex();
    if (!subSystem.isValid()) {
        tree_->setCurrentIndex(group);
        tree_->scrollTo(group);
        return;
    }
    tree_->expand(group);
    tree_->setCurrentIndex(subSystem);
    tree_->expand(subSystem);
    tree_->scrollTo(subSystem);
}

void MainWindow::ShowHistory() {
    tabs_->setCurrentWidget(history_);
}

MainWindow::OpenItems MainWindow::OpenItemsOf() const {
    OpenItems open{
        SelectedGroupId(), SelectedSubSystemId(), {}, {}, tree_->verticalScrollBar()->value()};
    for (int row = 0; row < model_->rowCount(); ++row) {
        const QModelIndex group = model_->index(row, 0);
        if (!tree_->isExpanded(group)) {
            continue;
        }
        open.groups.push_back(group.data(kIdRole).toInt());
        for (int child = 0; child < model_->rowCount(group); ++child) {
            const QModelIndex subSystem = model_->index(child, 0, group);
            if (tree_->isExpanded(subSystem)) {
                open.subSystems.emplace_back(open.groups.back(), subSystem.data(kIdRole).toInt());
            }
        }
    }
    return open;
}

void MainWindow::Reopen(const OpenItems& open) {
    for (const int32_t group : open.groups) {
        tree_->expand(model_->GroupIndex(group));
    }
    for (const auto& [group, subSystem] : open.subSystems) {
        tree_->expand(model_->SubSystemIndex(group, subSystem));
    }
    const QModelIndex current = open.subSystem != 0
                                    ? model_->SubSystemIndex(open.group, open.subSystem)
                                    : model_->GroupIndex(open.group);
    if (current.isValid()) {
        tree_->setCurrentIndex(current);
    }
    tree_->verticalScrollBar()->setValue(open.scrolled);
}

void MainWindow::Reload() {
    // Live refresh may ask again while the progress of this one runs the event loop.
    if (reloading_) {
        return;
    }
    const QScopedValueRollback busy(reloading_, true);
    liveRefresh_->Acknowledge();
    ShowTitle();
    // Under a filter the rows are made anew; without one the model keeps what the view opened.
    const std::optional<OpenItems> open =
        model_->Narrowed() ? std::optional(OpenItemsOf()) : std::nullopt;
    LongWork work(this, Tr(texts::kLoading));
    const bool loaded = Guarded([&] {
        if (!loaded_) {
            model_->Load();
            loaded_ = true;
        } else {
            model_->Refresh([&](int64_t done, int64_t total) { return work.Step(done, total); });
        }
    });
    if (open) {
        Reopen(*open);
    }
    if (loaded) {
        ShowCounts();
        // The account types in the session language; a new database has dropped the preview.
        Guarded([this] { preview_->Show(model_->ShownTo()); });
    }
    history_->Refresh();
    ShowDetails();
    UpdateActions();
}

void MainWindow::ShowCounts() {
    int32_t subSystems = 0;
    Guarded([&] {
        auto& module = *ModuleState::Current();
        const auto classInfo = module.registry->Create<IClassInfo>(progid::kClassInfo);
        subSystems = classInfo
                         ->GetData(subsysmgr::GetPropsString(module),
                                   "select count(*) as FCount from t_DataFlowSubSystem")
                         ->Fields("FCount")
                         .ToInt32();
    });
    counts_->setText(Tr(texts::kLoaded)
                         .arg(model_->GroupCount())
                         .arg(subSystems)
                         .arg(ToQString(session_.DatabaseDescription())));
}

int32_t MainWindow::SelectedGroupId() const {
    const QModelIndex current = tree_->currentIndex();
    if (!current.isValid()) {
        return -1;
    }
    const auto kind = static_cast<ItemKind>(current.data(kKindRole).toInt());
    return kind == ItemKind::Group || kind == ItemKind::SubSystem
               ? current.data(kGroupIdRole).toInt()
               : -1;
}

int32_t MainWindow::SelectedSubSystemId() const {
    const QModelIndex current = tree_->currentIndex();
    if (current.data(kKindRole).toInt() != static_cast<int>(ItemKind::SubSystem)) {
        return 0;
    }
    return current.data(kIdRole).toInt();
}

void MainWindow::UpdateActions() {
    const bool group = SelectedGroupId() >= 0;
    const bool subSystem = SelectedSubSystemId() != 0;
    editGroup_->setEnabled(group);
    // Del and Shift+Del delete a selection of several whatever item is current.
    const bool several = SelectedItems().size() > 1;
    deleteGroup_->setEnabled((group && !subSystem) || several);
    newSubSystem_->setEnabled(group);
    editSubSystem_->setEnabled(subSystem);
    deleteSubSystem_->setEnabled(subSystem || several);
    moveUp_->setEnabled(group);
    moveDown_->setEnabled(group);
    moveToGroup_->setEnabled(subSystem);
    showHistory_->setEnabled(group);
    copyCode_->setEnabled(tree_->currentIndex().isValid());
    deleteSelected_->setEnabled(!SelectedItems().isEmpty());
    exportSelection_->setEnabled(!SelectedItems().isEmpty());
}

QModelIndexList MainWindow::SelectedItems() const {
    QModelIndexList items;
    for (const QModelIndex& index : tree_->selectionModel()->selectedRows()) {
        const auto kind = static_cast<ItemKind>(index.data(kKindRole).toInt());
        if (kind == ItemKind::Group || kind == ItemKind::SubSystem) {
            items << index;
        }
    }
    std::sort(items.begin(), items.end(), [this](const QModelIndex& a, const QModelIndex& b) {
        return tree_->visualRect(a).top() < tree_->visualRect(b).top();
    });
    return items;
}

QMenu* MainWindow::ContextMenuAt(const QPoint& position) {
    const QModelIndex at = tree_->indexAt(position);
    if (at.isValid() && !tree_->selectionModel()->isSelected(at)) {
        tree_->setCurrentIndex(at);
    }
    UpdateActions();
    auto* menu = new QMenu(this);
    const auto kind = static_cast<ItemKind>(at.data(kKindRole).toInt());
    if (SelectedItems().size() > 1) {
        menu->addActions({deleteSelected_, copyCode_, exportSelection_});
    } else if (!at.isValid()) {
        menu->addAction(newGroup_);
    } else if (kind == ItemKind::Group) {
        menu->addActions({newSubSystem_, editGroup_, deleteGroup_});
        menu->addSeparator();
        menu->addActions({moveUp_, moveDown_});
        menu->addSeparator();
        menu->addActions({copyCode_, showHistory_, exportSelection_});
        menu->addSeparator();
        menu->addAction(newGroup_);
    } else if (kind == ItemKind::SubSystem) {
        menu->addActions({newSubSystem_, editSubSystem_, deleteSubSystem_});
        menu->addSeparator();
        menu->addActions({moveUp_, moveDown_, moveToGroup_});
        menu->addSeparator();
        menu->addActions({copyCode_, showHistory_, exportSelection_});
    } else if (kind == ItemKind::BusinessObject) {
        menu->addAction(copyCode_);
    }
    if (menu->isEmpty()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

void MainWindow::CopyCode() {
    QStringList codes;
    for (const QModelIndex& index : tree_->selectionModel()->selectedRows()) {
        if (index.data(kKindRole).toInt() != static_cast<int>(ItemKind::BusinessObjects)) {
            codes << index.data(kIdRole).toString();
        }
    }
    if (!codes.isEmpty()) {
        QApplication::clipboard()->setText(codes.join(u'\n'));
    }
}

void MainWindow::ApplyFilter() {
    const bool wanted = !filter_->text().trimmed().isEmpty();
    if (!model_->Filtered() && !wanted) {
        return;
    }
    const OpenItems before = OpenItemsOf();
    if (!model_->Filtered()) {
        unfiltered_ = before;
    }
    const bool applied = ChangeShown(
        [this](const ProgressStep& step) { return model_->SetFilter(filter_->text(), step); });
    if (!applied) {
        // Cancelled or failed: the box shows again what the tree shows.
        const QSignalBlocker quiet(filter_);
        filter_->setText(model_->Filter());
        return;
    }
    if (model_->Filtered()) {
        // Opened right after the reset, the view lays out all of them in one pass.
        int opened = 0;
        for (const QModelIndex& group : model_->GroupsWithMatches()) {
            if (opened > kOpenedMatches) {
                break;
            }
            tree_->expand(group);
            opened += model_->rowCount(group);
        }
        // The item chosen before stays chosen when it is shown; the first match otherwise.
        QModelIndex current = before.subSystem != 0
                                  ? model_->SubSystemIndex(before.group, before.subSystem)
                                  : model_->GroupIndex(before.group);
        if (!current.isValid() && model_->rowCount() > 0) {
            const QModelIndex group = model_->index(0, 0);
            current = group.data(kMatchRole).toBool() || model_->rowCount(group) == 0
                          ? group
                          : model_->index(0, 0, group);
        }
        if (current.isValid()) {
            tree_->setCurrentIndex(current);
        }
        statusBar()->showMessage(Tr(texts::kFound).arg(model_->MatchCount()));
    } else {
        ReopenChosen(unfiltered_.value_or(OpenItems{}), before);
        unfiltered_.reset();
        ShowCounts();
    }
    ShowDetails();
    UpdateActions();
}

bool MainWindow::ChangeShown(const std::function<bool(const ProgressStep&)>& change) {
    LongWork work(this, Tr(texts::kSearching));
    bool applied = false;
    Guarded([&] {
        applied = change([&](int64_t done, int64_t total) { return work.Step(done, total); });
    });
    return applied;
}

void MainWindow::ReopenChosen(OpenItems open, const OpenItems& before) {
    open.group = before.group;
    open.subSystem = before.subSystem;
    Reopen(open);
    tree_->scrollTo(tree_->currentIndex());
}

void MainWindow::ApplyPreview() {
    const std::optional<subsysmgr::Viewer> viewer = preview_->Chosen();
    const OpenItems before = OpenItemsOf();
    if (!model_->ShownTo()) {
        unpreviewed_ = before;
    }
    const bool applied =
        ChangeShown([&](const ProgressStep& step) { return model_->SetViewer(viewer, step); });
    if (!applied) {
        // Cancelled or failed: the chooser shows again what the tree shows.
        Guarded([this] { preview_->Show(model_->ShownTo()); });
        return;
    }
    ReopenChosen(viewer ? before : unpreviewed_.value_or(before), before);
    if (!viewer) {
        unpreviewed_.reset();
    }
    Guarded([this] { preview_->Show(model_->ShownTo()); });
    ShowDetails();
    UpdateActions();
}

void MainWindow::ExportSelection() {
    std::unordered_set<int32_t> groups;
    std::unordered_set<int32_t> subSystems;
    for (const QModelIndex& item : SelectedItems()) {
        const bool group = item.data(kKindRole).toInt() == static_cast<int>(ItemKind::Group);
        (group ? groups : subSystems).insert(item.data(kIdRole).toInt());
    }
    exchange_->ExportSelection(groups, subSystems);
}

void MainWindow::MoveBy(int step) {
    const QModelIndex current = tree_->currentIndex();
    const auto kind = static_cast<ItemKind>(current.data(kKindRole).toInt());
    if (kind != ItemKind::Group && kind != ItemKind::SubSystem) {
        return;
    }
    const int32_t id = current.data(kIdRole).toInt();
    const int32_t groupId = current.data(kGroupIdRole).toInt();
    std::vector<TreeEntry> wanted =
        kind == ItemKind::Group ? model_->Groups() : model_->SubSystemsOf(groupId);
    const auto at = std::find_if(wanted.begin(), wanted.end(),
                                 [id](const TreeEntry& entry) { return entry.id == id; });
    const auto position = at - wanted.begin();
    if (at == wanted.end() || position + step < 0 ||
        position + step >= static_cast<std::ptrdiff_t>(wanted.size())) {
        return;
    }
    std::swap(wanted[static_cast<std::size_t>(position)],
              wanted[static_cast<std::size_t>(position + step)]);
    Place(static_cast<int>(kind), std::move(wanted), {id}, groupId);
}

void MainWindow::MoveToGroup() {
    const int32_t id = SelectedSubSystemId();
    const int32_t from = SelectedGroupId();
    if (id == 0) {
        return;
    }
    QStringList choices;
    std::vector<int32_t> groups;
    for (const TreeEntry& group : model_->Groups()) {
        if (group.id != from) {
            choices << QString::number(group.id) + QStringLiteral("  ") + model_->NameOf(group);
            groups.push_back(group.id);
        }
    }
    bool chosen = false;
    const QString choice =
        QInputDialog::getItem(this, Tr(texts::kWindowTitle), Tr(texts::kMoveToGroupPrompt).arg(id),
                              choices, 0, false, &chosen);
    if (!chosen || !choices.contains(choice)) {
        return;
    }
    Drop(static_cast<int>(ItemKind::SubSystem), {id}, {from},
         groups[static_cast<std::size_t>(choices.indexOf(choice))], 0);
}

void MainWindow::Drop(int kind, const QList<int>& ids, const QList<int>& fromGroups, int toGroup,
                      int beforeId) {
    const bool groups = kind == static_cast<int>(ItemKind::Group);
    if (ids.contains(beforeId)) {
        return;  // dropped onto itself
    }
    std::vector<TreeEntry> wanted = groups ? model_->Groups() : model_->SubSystemsOf(toGroup);
    std::vector<TreeEntry> moved;
    for (qsizetype n = 0; n < ids.size(); ++n) {
        const std::vector<TreeEntry> source =
            groups ? model_->Groups() : model_->SubSystemsOf(fromGroups[n]);
        const auto found = std::find_if(source.begin(), source.end(),
                                        [&](const TreeEntry& entry) { return entry.id == ids[n]; });
        if (found != source.end()) {
            moved.push_back(*found);
        }
    }
    std::erase_if(wanted, [&](const TreeEntry& entry) { return ids.contains(entry.id); });
    const auto before = std::find_if(wanted.begin(), wanted.end(),
                                     [&](const TreeEntry& entry) { return entry.id == beforeId; });
    wanted.insert(before, moved.begin(), moved.end());
    std::vector<int32_t> placed;
    for (const TreeEntry& entry : moved) {
        placed.push_back(entry.id);
    }
    Place(kind, std::move(wanted), placed, toGroup);
}

void MainWindow::Place(int kind, std::vector<TreeEntry> wanted, const std::vector<int32_t>& placed,
                       int32_t toGroup) {
    if (placed.empty()) {
        return;
    }
    const auto itemKind = static_cast<ItemKind>(kind);
    const auto refKind =
        itemKind == ItemKind::Group ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem;
    std::vector<TreeItemRef> written;  // the items Place may write
    std::vector<TreeItemRef> moving;
    for (const TreeEntry& entry : wanted) {
        written.push_back({refKind, entry.id});
    }
    for (const int32_t id : placed) {
        moving.push_back({refKind, id});
    }
    const bool moved = Guarded([&] {
        undo_->Record(UndoSteps::NameFor(texts::kStepMoveGroup, texts::kStepMoveSubSystem,
                                         texts::kStepMoveItems, moving),
                      written, [&](UndoSteps::Recording&) {
                          std::vector<exchange::TreeActions::Position> positions;
                          for (const TreeEntry& entry : wanted) {
                              positions.push_back({entry.id, entry.index});
                          }
                          const exchange::ExchangeText text(session_.Registry(),
                                                            session_.Language());
                          exchange::TreeActions(ModuleState::Current(), text)
                              .Place(refKind, positions,
                                     std::set<int32_t>(placed.begin(), placed.end()), toGroup);
                      });
    });
    Reload();
    if (!moved) {
        return;
    }
    const QModelIndex first = itemKind == ItemKind::Group
                                  ? model_->GroupIndex(placed.front())
                                  : model_->SubSystemIndex(toGroup, placed.front());
    if (first.isValid()) {
        tree_->expand(first.parent());
        tree_->setCurrentIndex(first);
        tree_->scrollTo(first);
    }
    statusBar()->showMessage(Tr(texts::kMoved));
}

void MainWindow::ShowDetails() {
    const QModelIndex item = tree_->currentIndex();
    details_->clear();
    const auto kind = item.isValid() ? static_cast<ItemKind>(item.data(kKindRole).toInt())
                                     : ItemKind::BusinessObjects;
    if (kind != ItemKind::Group && kind != ItemKind::SubSystem) {
        history_->ShowItem(std::nullopt);
        return;
    }
    history_->ShowItem(TreeItemRef{
        kind == ItemKind::Group ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem,
        item.data(kIdRole).toInt()});
    Guarded([&] {
        auto& module = *ModuleState::Current();
        auto& info = subsysmgr::GetDataFlowInfo(module);
        const bool group = kind == ItemKind::Group;
        const RecordsetPtr rows =
            group ? info.GetTopClass_All()
                  : info.GetSubSystem_All(Variant(item.data(kGroupIdRole).toInt()));
        rows->Filter(std::string(group ? "FTopClassID=" : "FSubSysID=") +
                     std::to_string(item.data(kIdRole).toInt()));
        if (rows->Eof()) {
            return;
        }
        const std::string prefix = group ? "FTopClassName_" : "FName_";
        QString html = QStringLiteral("<h3>%1 %2</h3><table cellpadding='3'>")
                           .arg(Tr(group ? texts::kGroupCaption : texts::kSubSystemCaption))
                           .arg(item.data(kIdRole).toInt());
        auto row = [&](std::string_view caption, const QString& value) {
            html +=
                QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(Tr(caption), value);
        };
        const auto field = [&](const char* column) {
            return Escaped(rows->Fields(column).TextOrEmpty());
        };
        row(texts::kCode, field(group ? "FTopClassID" : "FSubSysID"));
        row(texts::kIndexCaption, field("FIndex"));
        row(texts::kNameCHSCaption, field((prefix + "CHS").c_str()));
        row(texts::kNameCHTCaption, field((prefix + "CHT").c_str()));
        row(texts::kNameENCaption, field((prefix + "EN").c_str()));
        if (!group) {
            row(texts::kNumberCaption, field("FSUBID"));
        }
        const int32_t show = rows->Fields("FShowSysType").ToInt32();
        row(texts::kVisibleCaption,
            Tr(rows->Fields("FVisible").ToBool() ? texts::kYes : texts::kNo));
        row(texts::kWebCaption, Tr((show & 2) == 2 ? texts::kYes : texts::kNo));

        QStringList accountTypes;
        const std::string codes = rows->Fields("FAcctType").TextOrEmpty();
        const RecordsetPtr types = subsysmgr::GetAccountTypes(module);
        for (; !types->Eof(); types->MoveNext()) {
            if (codes.find("," + types->Fields("FAcctType").ToText() + ",") != std::string::npos) {
                accountTypes << Escaped(types->Fields("FDesc").TextOrEmpty());
            }
        }
        row(texts::kAcctCaption, accountTypes.join(QStringLiteral("<br>")));
        details_->setHtml(html + QStringLiteral("</table>"));
    });
}

void MainWindow::NewGroup() {
    if (Guarded([this] {
            // Only the group this editor saved is the step's: another user's group added
            // meanwhile must not go with an undo.
            undo_->Record({texts::kStepNewGroup, {}}, {}, [this](UndoSteps::Recording& step) {
                subsysmgr::SubSysGroupMgrUI editor;
                editor.Show(1, 0, false, this);
                if (const auto& added = editor.AddedGroup()) {
                    step.added.push_back({TreeItemRef::Kind::Group, added->Id()});
                }
            });
        })) {
        Reload();
    }
}

void MainWindow::EditGroup() {
    const int32_t id = SelectedGroupId();
    if (id >= 0 && Guarded([this, id] {
            undo_->Record({texts::kStepEditGroup, QString::number(id)},
                          {{TreeItemRef::Kind::Group, id}}, [&](UndoSteps::Recording&) {
                              subsysmgr::SubSysGroupMgrUI().Show(2, id, false, this);
                          });
        })) {
        Reload();
    }
}

void MainWindow::NewSubSystem() {
    const int32_t groupId = SelectedGroupId();
    if (Guarded([this, groupId] {
            undo_->Record({texts::kStepNewSubSystem, {}}, {}, [&](UndoSteps::Recording& step) {
                const subsysmgr::SubSystemPtr added =
                    subsysmgr::SubSystemMgrUI().Show(1, groupId, 0, false, this);
                if (added && added->Version() != 0) {  // saved
                    step.added.push_back({TreeItemRef::Kind::SubSystem, added->Id()});
                }
            });
        })) {
        Reload();
    }
}

void MainWindow::EditSubSystem() {
    const int32_t groupId = SelectedGroupId();
    const int32_t id = SelectedSubSystemId();
    if (id != 0 && Guarded([this, groupId, id] {
            undo_->Record({texts::kStepEditSubSystem, QString::number(id)},
                          {{TreeItemRef::Kind::SubSystem, id}}, [&](UndoSteps::Recording&) {
                              subsysmgr::SubSystemMgrUI().Show(2, groupId, id, false, this);
                          });
        })) {
        Reload();
    }
}

void MainWindow::DeleteGroup() {
    if (SelectedItems().size() > 1) {
        DeleteSelected();
        return;
    }
    const int32_t id = SelectedGroupId();
    if (id >= 0 &&
        QMessageBox::question(this, Tr(texts::kWindowTitle),
                              Tr(texts::kConfirmDeleteGroup).arg(id)) == QMessageBox::Yes) {
        DeleteItems({{TreeItemRef::Kind::Group, id}}, {ShownVersion(ItemKind::Group, id, id)});
    }
}

void MainWindow::DeleteSubSystem() {
    if (SelectedItems().size() > 1) {
        DeleteSelected();
        return;
    }
    const int32_t groupId = SelectedGroupId();
    const int32_t id = SelectedSubSystemId();
    if (id != 0 &&
        QMessageBox::question(this, Tr(texts::kWindowTitle),
                              Tr(texts::kConfirmDeleteSubSystem).arg(id)) == QMessageBox::Yes) {
        DeleteItems({{TreeItemRef::Kind::SubSystem, id}},
                    {ShownVersion(ItemKind::SubSystem, id, groupId)});
    }
}

void MainWindow::DeleteSelected() {
    const QModelIndexList selected = SelectedItems();
    if (selected.isEmpty()) {
        return;
    }
    std::vector<TreeItemRef> items;
    std::vector<int64_t> versions;
    std::map<std::pair<int, int32_t>, QString> labels;
    QStringList listed;
    for (const QModelIndex& index : selected) {
        const bool group = index.data(kKindRole).toInt() == static_cast<int>(ItemKind::Group);
        const TreeItemRef item{group ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem,
                               index.data(kIdRole).toInt()};
        items.push_back(item);
        versions.push_back(ShownVersion(group ? ItemKind::Group : ItemKind::SubSystem, item.id,
                                        index.data(kGroupIdRole).toInt()));
        labels[{static_cast<int>(item.kind), item.id}] = Labelled(index);
        if (listed.size() < kListedItems) {
            listed << Labelled(index);
        }
    }
    if (items.size() > static_cast<std::size_t>(kListedItems)) {
        listed << QStringLiteral("... (+%1)").arg(items.size() - kListedItems);
    }
    if (QMessageBox::question(this, Tr(texts::kWindowTitle),
                              Tr(texts::kConfirmDeleteItems).arg(items.size()) +
                                  QStringLiteral("\n\n") + listed.join(u'\n')) ==
        QMessageBox::Yes) {
        DeleteItems(items, versions, labels);
    }
}

void MainWindow::DeleteItems(const std::vector<TreeItemRef>& items,
                             const std::vector<int64_t>& versions,
                             const std::map<std::pair<int, int32_t>, QString>& labels) {
    std::vector<exchange::ItemOutcome> outcomes;
    Guarded([&] {
        undo_->Record(
            UndoSteps::NameFor(texts::kStepDeleteGroup, texts::kStepDeleteSubSystem,
                               texts::kStepDeleteItems, items),
            items, [&](UndoSteps::Recording&) {
                const exchange::ExchangeText text(session_.Registry(), session_.Language());
                outcomes =
                    exchange::TreeActions(ModuleState::Current(), text).Delete(items, versions);
            });
    });
    Reload();
    QStringList refused;
    for (const exchange::ItemOutcome& outcome : outcomes) {
        if (outcome.done) {
            continue;
        }
        const QString reason =
            ToQString(outcome.refusal) +
            (outcome.error ? QStringLiteral(" (%1)").arg(ToQString(ErrorNumberText(*outcome.error)))
                           : QString());
        const auto label = labels.find({static_cast<int>(outcome.item.kind), outcome.item.id});
        refused << (label == labels.end() ? reason : label->second + QStringLiteral(": ") + reason);
    }
    if (items.size() == 1) {
        // One item: its refusal as the objects would have shown it.
        statusBar()->showMessage(Tr(refused.isEmpty() ? texts::kDeleted : texts::kNotSaved));
        if (!refused.isEmpty()) {
            subsysmgr::ShowMessage(*ModuleState::Current(), refused.front().toStdString(),
                                   kMessageBoxWarning);
        }
        return;
    }
    const auto deleted = static_cast<qsizetype>(outcomes.size()) - refused.size();
    statusBar()->showMessage(Tr(texts::kDeletedItems).arg(deleted).arg(refused.size()));
    if (!refused.isEmpty()) {
        QMessageBox::warning(
            this, Tr(texts::kWindowTitle),
            Tr(texts::kNotDeletedItems) + QStringLiteral("\n\n") + refused.join(u'\n'));
    }
}

int64_t MainWindow::ShownVersion(ItemKind kind, int32_t id, int32_t groupId) {
    const std::vector<TreeEntry> shown =
        kind == ItemKind::Group ? model_->Groups() : model_->SubSystemsOf(groupId);
    const auto found = std::find_if(shown.begin(), shown.end(),
                                    [&](const TreeEntry& entry) { return entry.id == id; });
    return found == shown.end() ? exchange::ChangeSteps::kAbsent : found->version;
}

void MainWindow::RevertChange(int64_t change) {
    if (QMessageBox::question(this, Tr(texts::kWindowTitle),
                              Tr(texts::kConfirmRevert).arg(change)) != QMessageBox::Yes) {
        return;
    }
    const std::optional<TreeItemRef> item = history_->Item();
    const auto revert = [&](bool force) {
        undo_->Record(
            {texts::kStepRevert, QString::number(change)},
            item ? std::vector{*item} : std::vector<TreeItemRef>{},
            [&](UndoSteps::Recording&) { subsysmgr::ChangeRevert().Revert(change, force, item); });
    };
    bool reverted = false;
    try {
        revert(false);
        reverted = true;
    } catch (const ComError& error) {
        if (error.Offset() != subsysmgr::errors::kRevertOverLaterChange.offset) {
            Guarded([&] { throw error; });
        } else if (QMessageBox::question(this, Tr(texts::kWindowTitle),
                                         ToQString(error.Description()) + QStringLiteral("\n\n") +
                                             Tr(texts::kForceRevert),
                                         QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::No) == QMessageBox::Yes) {
            reverted = Guarded([&] { revert(true); });
        }
    }
    Reload();
    if (reverted) {
        statusBar()->showMessage(Tr(texts::kReverted).arg(change));
    }
}

void MainWindow::SwitchLanguage(const std::string& language) {
    session_.Language(language);
    ActivateSession();
    RememberLanguage(language);
    model_->SetLanguage(language);
    Retranslate();
    Reload();
}

void MainWindow::SwitchDatabase(const std::string& database, const std::string& password) {
    // A name the store cannot use is refused before anything changes.
    if (!Guarded([&] { session_.DatabaseSpec(database, password); })) {
        return;
    }
    ActivateSession();
    if (Guarded([] { subsysmgr::SubSysGroup().GetAllSubSysGroup(); })) {
        openedDatabase_ = database;
        openedPassword_ = password;
        undo_->Clear();
        RememberDatabase(session_);
    } else {
        QMessageBox::warning(this, Tr(texts::kWindowTitle), Tr(texts::kCannotOpen));
        Guarded([this] { session_.DatabaseSpec(openedDatabase_, openedPassword_); });
        ActivateSession();
    }
    liveRefresh_->Watch(session_);
    loaded_ = false;  // another database: the tree is read whole, unfiltered
    {
        const QSignalBlocker quiet(filter_);
        filter_->clear();
    }
    unfiltered_.reset();
    Reload();
}

// A new file with the delivered base data; opening a file never creates one.
void MainWindow::NewSqlite() {
    const QString file = QFileDialog::getSaveFileName(
        this, Tr(texts::kNewSqlite), QString(), QStringLiteral("SQLite (*.sqlite *.db *.sqlite3)"));
    if (file.isEmpty()) {
        return;
    }
    const std::string database = "sqlite:" + file.toStdString();
    if (Guarded([&] {
            suite::HostSession(database, session_.Language())
                .CreateDatabase(suite::DatabaseContent::BaseData);
        })) {
        SwitchDatabase(database);
    }
}

void MainWindow::OpenSqlite() {
    const QString file =
        QFileDialog::getOpenFileName(this, Tr(texts::kOpenSqlite), QString(),
                                     QStringLiteral("SQLite (*.sqlite *.db *.sqlite3);;* (*)"));
    if (!file.isEmpty()) {
        SwitchDatabase("sqlite:" + file.toStdString());
    }
}

void MainWindow::OpenPostgres() {
    PostgresDialog dialog(Tr(texts::kOpenPostgres), Tr(texts::kPostgresPrompt),
                          Tr(texts::kPostgresPassword), this);
    if (dialog.exec() == QDialog::Accepted && !dialog.Connection().isEmpty()) {
        // A postgresql:// URI after the prefix is read whole, like a key=value string.
        SwitchDatabase("postgresql:" + dialog.Connection().toStdString(),
                       dialog.Password().toStdString());
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QSettings settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/state"), saveState());
    QMainWindow::closeEvent(event);
}

}  // namespace quarn::designer
