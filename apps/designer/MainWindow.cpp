#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <unordered_set>

#include "AccessibleTexts.h"
#include "DatabaseActions.h"
#include "DesignerHelp.h"
#include "DesignerIcons.h"
#include "DesignerSettings.h"
#include "DesignerTexts.h"
#include "DetailsPane.h"
#include "ExchangeActions.h"
#include "FunctionalTreeModel.h"
#include "FunctionalTreeView.h"
#include "Guarded.h"
#include "HistoryPane.h"
#include "ItemActions.h"
#include "LiveRefresh.h"
#include "LongWork.h"
#include "NoDatabasePanel.h"
#include "OpenItems.h"
#include "ProblemsPane.h"
#include "ReleaseActions.h"
#include "SessionText.h"
#include "TreeNarrowing.h"
#include "TreeSelection.h"
#include "UndoSteps.h"
#include "VisibilityPreview.h"
#include "WindowActions.h"
#include "exchange/ReleaseUpgrade.h"
#include "foundation/ComError.h"
#include "host/IClassInfo.h"
#include "host/ProgIds.h"
#include "runtime/ErrorMessage.h"
#include "runtime/SessionContext.h"
#include "ui/CaptionText.h"

namespace quarn::designer {

using subsysmgr::ModuleState;
using subsysmgr::ToQString;

MainWindow::MainWindow(suite::HostSession& session, QWidget* parent)
    : QMainWindow(parent), session_(session) {
    central_ = new QStackedWidget(this);
    panes_ = CreatePanes();
    noDatabase_ = new NoDatabasePanel(this);
    central_->addWidget(panes_);
    central_->addWidget(noDatabase_);
    setCentralWidget(central_);
    // Apart from the passing messages, which a hovered action's empty tip would clear.
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("treeCounts"));
    releaseNote_ = new QLabel(this);
    releaseNote_->setObjectName(QStringLiteral("releaseNote"));
    statusBar()->addPermanentWidget(releaseNote_);
    statusBar()->addPermanentWidget(counts_);
    undo_ = new UndoSteps(this);
    preview_ = new VisibilityPreview(this);
    exchange_ = new ExchangeActions(session_, this);
    releases_ = new ReleaseActions(session_, this, *undo_);
    actions_ = new WindowActions(*this, *undo_, *preview_, session_.Language());
    items_ = new ItemActions(session_, *this, *tree_, *model_, *undo_);
    databases_ = new DatabaseActions(session_, *this);
    narrowing_ = new TreeNarrowing(*this, *tree_, *model_, *filter_, *preview_);
    // Esc clears the filter from the box and from the tree.
    filter_->parentWidget()->addAction(actions_->clearFilter);
    tree_->addAction(actions_->copyCode);
    setWindowIcon(DesignerIcons::Application());
    // Last in the menu bar, as on every desktop.
    help_ = new DesignerHelp(session_, *this, *tree_);
    liveRefresh_ = new LiveRefresh(this);
    liveRefresh_->Watch(session_);
    ConnectActions();
    ConnectTree();
    Retranslate();
    UpdateActions();

    QSettings settings;
    restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
    if (!restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray())) {
        resize(1000, 700);
    }
}

QWidget* MainWindow::CreatePanes() {
    model_ = new FunctionalTreeModel(this);
    model_->SetLanguage(session_.Language());
    tree_ = new FunctionalTreeView(this);
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
    details_ = new DetailsPane(this);
    history_ = new HistoryPane(session_, this);
    problems_ = new ProblemsPane(session_, this);
    addDockWidget(Qt::BottomDockWidgetArea, problems_);
    problems_->hide();
    tabs_ = new QTabWidget(this);
    tabs_->addTab(details_, QString());
    tabs_->addTab(history_, QString());
    auto* splitter = new QSplitter(this);
    splitter->addWidget(treePane);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    setTabOrder(filter_, tree_);  // Tab from the search box goes to its results
    return splitter;
}

void MainWindow::ConnectActions() {
    const WindowActions& a = *actions_;
    const auto on = [this](QAction* action, auto slot) {
        connect(action, &QAction::triggered, this, slot);
    };
    on(a.newSqlite, [this] { databases_->NewSqlite(); });
    on(a.openSqlite, [this] { databases_->OpenSqlite(); });
    on(a.openPostgres, [this] { databases_->OpenPostgres(); });
    on(a.openDemo, [this] { databases_->OpenDemo(); });
    on(a.importFile, [this] { exchange_->Import(); });
    on(a.exportAll, [this] { exchange_->ExportAll(); });
    on(a.upgradeRelease, [this] { releases_->Upgrade(); });
    on(a.exportSelection, &MainWindow::ExportSelection);
    on(a.quit, &QWidget::close);
    on(a.newGroup, [this] { items_->NewGroup(); });
    on(a.editGroup, [this] { items_->EditGroup(); });
    on(a.deleteGroup, [this] { items_->DeleteGroup(); });
    on(a.newSubSystem, [this] { items_->NewSubSystem(); });
    on(a.editSubSystem, [this] { items_->EditSubSystem(); });
    on(a.deleteSubSystem, [this] { items_->DeleteSubSystem(); });
    on(a.deleteSelected, [this] { items_->DeleteSelected(); });
    on(a.moveUp, [this] { items_->MoveBy(-1); });
    on(a.moveDown, [this] { items_->MoveBy(1); });
    on(a.moveToGroup, [this] { items_->MoveToGroup(); });
    on(a.refresh, &MainWindow::Reload);
    on(a.find, [this] {
        filter_->setFocus();
        filter_->selectAll();
    });
    on(a.clearFilter, [this] {
        filter_->clear();
        tree_->setFocus();
    });
    on(a.copyCode, &MainWindow::CopyCode);
    on(a.showHistory, &MainWindow::ShowHistory);
    connect(a.showProblems, &QAction::toggled, problems_, &QWidget::setVisible);
    connect(problems_, &QDockWidget::visibilityChanged, a.showProblems, &QAction::setChecked);
    connect(problems_, &ProblemsPane::ItemChosen, this, [this](int32_t group, int32_t subSystem) {
        Select(group, subSystem);
        tree_->setFocus();
    });
    connect(noDatabase_, &NoDatabasePanel::OpenRequested, a.openSqlite, &QAction::trigger);
    connect(noDatabase_, &NoDatabasePanel::NewRequested, a.newSqlite, &QAction::trigger);
    connect(noDatabase_, &NoDatabasePanel::RetryRequested, this, &MainWindow::RetryDatabase);
    connect(actions_, &WindowActions::LanguageChosen, this,
            [this](const QString& language) { SwitchLanguage(language.toStdString()); });
    connect(databases_, &DatabaseActions::Switched, this, &MainWindow::DatabaseSwitched);
    connect(undo_, &UndoSteps::Applied, this, [this](int groupId, int subSystemId) {
        Reload();
        Select(groupId, subSystemId);
    });
    // Whatever an import wrote shows at once; an import is one step, however many items it wrote.
    connect(exchange_, &ExchangeActions::Imported, this, [this] { Reload(); });
    connect(releases_, &ReleaseActions::Upgraded, this, [this] { Reload(); });
    exchange_->RecordStepsWith([this](const std::vector<TreeItemRef>& items, std::size_t count,
                                      const std::function<std::vector<TreeItemRef>()>& write) {
        undo_->Record({texts::kStepImport, {}, static_cast<qlonglong>(count)}, items,
                      [&](UndoSteps::Recording& step) { step.added = write(); });
    });
    connect(history_, &HistoryPane::RevertRequested, this,
            [this](int64_t change) { items_->RevertChange(change, history_->Item()); });
}

void MainWindow::ConnectTree() {
    connect(liveRefresh_, &LiveRefresh::TreeChanged, this, &MainWindow::Reload);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        ShowDetails();
        UpdateActions();
    });
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::UpdateActions);
    connect(tree_, &QWidget::customContextMenuRequested, this, &MainWindow::PopUpContextMenu);
    // What actions report in the status bar stays where a screen reader finds it (a status
    // message passes, and is never read out): as the description of the search box and the tree.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (!message.isEmpty()) {
            filter_->setAccessibleDescription(message);
            tree_->setAccessibleDescription(message);
        }
    });
    connect(narrowing_, &TreeNarrowing::Changed, this, [this](bool unfiltered) {
        if (unfiltered) {
            ShowCounts();
        }
        ShowDetails();
        UpdateActions();
    });
    // After the drop has ended, so that messages and the refresh run outside the drag.
    connect(model_, &FunctionalTreeModel::MoveRequested, items_, &ItemActions::Drop,
            Qt::QueuedConnection);
    // Shown after the view's call that read, outside it.
    connect(
        model_, &FunctionalTreeModel::ReadFailed, this,
        [](const QString& description, int number) {
            subsysmgr::ShowError(*ModuleState::Current(),
                                 ComError(number, {}, description.toStdString()));
        },
        Qt::QueuedConnection);
    connect(tree_, &QTreeView::activated, this, [this](const QModelIndex& index) {
        const auto kind = static_cast<ItemKind>(index.data(kKindRole).toInt());
        if (kind == ItemKind::Group) {
            items_->EditGroup();
        } else if (kind == ItemKind::SubSystem) {
            items_->EditSubSystem();
        }
    });
}

void MainWindow::PopUpContextMenu(const QPoint& at) {
    if (QMenu* menu = ContextMenuAt(at)) {
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(tree_->viewport()->mapToGlobal(at));
    }
}

void MainWindow::Retranslate() {
    ShowTitle();
    actions_->Retranslate();
    undo_->Retranslate();
    filter_->setPlaceholderText(Tr(texts::kFindHint));
    filter_->setAccessibleName(subsysmgr::WithoutMnemonic(Tr(texts::kFind)));
    // The clear button that the box makes itself.
    for (QToolButton* clear : filter_->findChildren<QToolButton*>()) {
        clear->setAccessibleName(Tr(texts::kClearFilter));
        clear->setToolTip(Tr(texts::kClearFilter));
    }
    tree_->setAccessibleName(Tr(texts::kTreeName));
    details_->setAccessibleName(Tr(texts::kDetailsTab));
    details_->Retranslate();
    tabs_->setTabText(0, Tr(texts::kDetailsTab));
    tabs_->setTabText(1, Tr(texts::kHistoryTab));
    history_->Retranslate();
    problems_->Retranslate();
    help_->Retranslate();
    noDatabase_->Retranslate();
}

void MainWindow::ShowTitle() {
    setWindowTitle(Tr(texts::kWindowTitle) + QStringLiteral(" - ") +
                   ToQString(session_.DatabaseDescription()));
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

void MainWindow::ShowProblems() {
    actions_->showProblems->setChecked(true);
}

void MainWindow::ShowHistory() {
    tabs_->setCurrentWidget(history_);
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
        model_->Narrowed() ? std::optional(OpenItems::Of(*tree_)) : std::nullopt;
    LongWork work(this, Tr(texts::kLoading));
    std::optional<ComError> failure;
    try {
        if (!loaded_) {
            model_->Load();
            loaded_ = true;
        } else {
            model_->Refresh([&](int64_t done, int64_t total) { return work.Step(done, total); });
        }
    } catch (const ComError& error) {
        failure = error;
    }
    ShowReadable(failure);
    if (failure) {
        UpdateActions();
        return;
    }
    if (open) {
        open->Reopen(*tree_, *model_);
    }
    ShowCounts();
    // The account types in the session language; a new database has dropped the preview.
    Guarded([this] { preview_->Show(model_->ShownTo()); });
    history_->Refresh();
    problems_->Refresh();
    ShowDetails();
    UpdateActions();
}

void MainWindow::ShowReadable(const std::optional<ComError>& failure) {
    const bool hadDatabase = HasDatabase();
    unreadable_ = failure;
    if (failure) {
        loaded_ = false;  // once it can be read, the tree is read whole
        noDatabase_->ShowReason(*failure);
        counts_->clear();
        releaseNote_->clear();
        central_->setCurrentWidget(noDatabase_);
        if (hadDatabase) {
            noDatabase_->setFocus();
        }
        return;
    }
    central_->setCurrentWidget(panes_);
    if (!hadDatabase) {
        tree_->setFocus();
    }
}

void MainWindow::RetryDatabase() {
    databases_->Retry();
    // The panel already says why; the box answers the press.
    if (unreadable_) {
        subsysmgr::ShowError(*ModuleState::Current(), *unreadable_);
    }
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
                         .arg(Counted(texts::kGroupCount, model_->GroupCount()),
                              Counted(texts::kSubSystemCount, subSystems),
                              ToQString(session_.DatabaseDescription())));
    ShowRelease();
}

void MainWindow::ShowRelease() {
    // A reminder that blocks nothing: the delivered items are older than this program's.
    releaseNote_->clear();
    Guarded([this] {
        const auto state = subsysmgr::exchange::ReleaseUpgrade::StateOf(*ModuleState::Current());
        if (!state.Older()) {
            return;
        }
        const QString program = ToQString(state.program.name);
        releaseNote_->setText(
            state.database ? Tr(texts::kOlderRelease).arg(ToQString(state.database->name), program)
                           : Tr(texts::kNoRelease).arg(program));
        releaseNote_->setToolTip(releaseNote_->text());
    });
}

void MainWindow::ShowDetails() {
    const QModelIndex item = tree_->currentIndex();
    const auto kind = static_cast<ItemKind>(item.data(kKindRole).toInt());
    const bool shown = item.isValid() && (kind == ItemKind::Group || kind == ItemKind::SubSystem);
    history_->ShowItem(
        shown ? std::optional(TreeItemRef{kind == ItemKind::Group ? TreeItemRef::Kind::Group
                                                                  : TreeItemRef::Kind::SubSystem,
                                          item.data(kIdRole).toInt()})
              : std::nullopt);
    details_->Show(item);
}

void MainWindow::UpdateActions() {
    const bool database = HasDatabase();
    WindowActions::Chosen chosen;  // nothing without a database
    if (database) {
        chosen = {true, SelectedGroupId(*tree_) >= 0, SelectedSubSystemId(*tree_) != 0,
                  tree_->currentIndex().isValid(), static_cast<int>(SelectedItems(*tree_).size())};
    }
    actions_->Enable(chosen);
    undo_->Enable(database);
    preview_->Chooser()->setEnabled(database);
    preview_->Menu()->setEnabled(database);
}

QMenu* MainWindow::ContextMenuAt(const QPoint& position) {
    const QModelIndex at = tree_->indexAt(position);
    if (at.isValid() && !tree_->selectionModel()->isSelected(at)) {
        tree_->setCurrentIndex(at);
    }
    UpdateActions();
    const std::optional<ItemKind> kind =
        at.isValid() ? std::optional(static_cast<ItemKind>(at.data(kKindRole).toInt()))
                     : std::nullopt;
    return actions_->ContextMenu(kind, SelectedItems(*tree_).size() > 1, this);
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

void MainWindow::ExportSelection() {
    std::unordered_set<int32_t> groups;
    std::unordered_set<int32_t> subSystems;
    for (const QModelIndex& item : SelectedItems(*tree_)) {
        const bool group = item.data(kKindRole).toInt() == static_cast<int>(ItemKind::Group);
        (group ? groups : subSystems).insert(item.data(kIdRole).toInt());
    }
    exchange_->ExportSelection(groups, subSystems);
}

void MainWindow::SwitchLanguage(const std::string& language) {
    session_.Language(language);
    ActivateSession(session_);
    RememberLanguage(language);
    model_->SetLanguage(language);
    Retranslate();
    Reload();
}

void MainWindow::DatabaseSwitched(bool opened) {
    if (opened) {
        undo_->Clear();
    }
    liveRefresh_->Watch(session_);
    loaded_ = false;  // another database: the tree is read whole, unfiltered
    narrowing_->Forget();
    Reload();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QSettings settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/state"), saveState());
    QMainWindow::closeEvent(event);
}

}  // namespace quarn::designer
