#include "MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include "DesignerSettings.h"
#include "DesignerTexts.h"
#include "FunctionalTree.h"
#include "HistoryPane.h"
#include "LiveRefresh.h"
#include "PostgresDialog.h"
#include "foundation/ComError.h"
#include "host/IMessageBox.h"
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

namespace {

// Loads of more groups than this show a progress dialog.
constexpr int kProgressThreshold = 200;

QString Escaped(const std::string& text) {
    return ToQString(text).toHtmlEscaped();
}

}  // namespace

MainWindow::MainWindow(suite::HostSession& session, QWidget* parent)
    : QMainWindow(parent), session_(session), openedDatabase_(session.DatabaseSpec()) {
    tree_ = new QTreeWidget(this);
    tree_->setColumnCount(1);
    details_ = new QTextBrowser(this);
    history_ = new HistoryPane(session_, this);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(details_, QString());
    tabs_->addTab(history_, QString());
    auto* splitter = new QSplitter(this);
    splitter->addWidget(tree_);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    setCentralWidget(splitter);

    CreateActions();
    Retranslate();
    liveRefresh_ = new LiveRefresh(this);
    liveRefresh_->Watch(session_);
    connect(liveRefresh_, &LiveRefresh::TreeChanged, this, &MainWindow::Reload);
    connect(history_, &HistoryPane::RevertRequested, this, &MainWindow::RevertChange);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, [this] {
        ShowDetails();
        UpdateActions();
    });
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (item->data(0, kKindRole).toInt() == static_cast<int>(ItemKind::SubSystem)) {
            Guarded([item] { ExpandBusinessObjects(*item); });
        }
    });
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const auto kind = static_cast<ItemKind>(item->data(0, kKindRole).toInt());
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
    fileMenu_->addAction(quit_);
    groupMenu_ = menuBar()->addMenu(QString());
    groupMenu_->addActions({newGroup_, editGroup_, deleteGroup_});
    subSystemMenu_ = menuBar()->addMenu(QString());
    subSystemMenu_->addActions({newSubSystem_, editSubSystem_, deleteSubSystem_});
    viewMenu_ = menuBar()->addMenu(QString());
    viewMenu_->addAction(refresh_);
    languageMenu_ = viewMenu_->addMenu(QString());
    languageMenu_->addActions(languages_->actions());

    auto* toolbar = addToolBar(QStringLiteral("main"));
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->addActions({newGroup_, editGroup_, deleteGroup_});
    toolbar->addSeparator();
    toolbar->addActions({newSubSystem_, editSubSystem_, deleteSubSystem_});
    toolbar->addSeparator();
    toolbar->addAction(refresh_);
    UpdateActions();
}

void MainWindow::Retranslate() {
    ShowTitle();
    fileMenu_->setTitle(Tr(texts::kMenuFile));
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
    tree_->setHeaderLabels({Tr(texts::kTreeHeader)});
    details_->setPlaceholderText(Tr(texts::kSelectHint));
    tabs_->setTabText(0, Tr(texts::kDetailsTab));
    tabs_->setTabText(1, Tr(texts::kHistoryTab));
    history_->Retranslate();
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
        subsysmgr::ShowMessage(*ModuleState::Current(),
                               error.Description() + "\n(" + std::to_string(error.Number()) + ")",
                               kMessageBoxWarning);
    }
    return false;
}

void MainWindow::Select(int32_t groupId, int32_t subSystemId) {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = tree_->topLevelItem(i);
        if (group->data(0, kIdRole).toInt() != groupId) {
            continue;
        }
        tree_->setCurrentItem(group);
        for (int j = 0; j < group->childCount(); ++j) {
            if (subSystemId != 0 && group->child(j)->data(0, kIdRole).toInt() == subSystemId) {
                group->setExpanded(true);
                tree_->setCurrentItem(group->child(j));
                group->child(j)->setExpanded(true);
            }
        }
        return;
    }
}

void MainWindow::ShowHistory() {
    tabs_->setCurrentWidget(history_);
}

void MainWindow::Reload() {
    const int32_t selectedGroup = SelectedGroupId();
    const int32_t selectedSubSystem = SelectedSubSystemId();
    const ExpandedItems expanded = ExpandedItemsOf(*tree_);
    const int scrolled = tree_->verticalScrollBar()->value();
    liveRefresh_->Acknowledge();
    ShowTitle();
    statusBar()->showMessage(Tr(texts::kLoading));
    QProgressDialog progress(Tr(texts::kLoading), QString(), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    TreeCounts counts;
    const bool loaded = Guarded([&] {
        counts = FillFunctionalTree(*tree_, [&](int done, int total) {
            if (total > kProgressThreshold) {
                progress.setMaximum(total);
                progress.setValue(done);
            }
            return true;
        });
    });
    progress.reset();
    Expand(*tree_, expanded);
    Select(selectedGroup, selectedSubSystem);
    tree_->verticalScrollBar()->setValue(scrolled);
    if (loaded) {
        statusBar()->showMessage(Tr(texts::kLoaded)
                                     .arg(counts.groups)
                                     .arg(counts.subSystems)
                                     .arg(ToQString(session_.DatabaseDescription())));
    }
    history_->Refresh();
    ShowDetails();
    UpdateActions();
}

int32_t MainWindow::SelectedGroupId() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    if (!item) {
        return -1;
    }
    const auto kind = static_cast<ItemKind>(item->data(0, kKindRole).toInt());
    return kind == ItemKind::Group       ? item->data(0, kIdRole).toInt()
           : kind == ItemKind::SubSystem ? item->data(0, kGroupIdRole).toInt()
                                         : -1;
}

int32_t MainWindow::SelectedSubSystemId() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    if (!item || item->data(0, kKindRole).toInt() != static_cast<int>(ItemKind::SubSystem)) {
        return 0;
    }
    return item->data(0, kIdRole).toInt();
}

void MainWindow::UpdateActions() {
    const bool group = SelectedGroupId() >= 0;
    const bool subSystem = SelectedSubSystemId() != 0;
    editGroup_->setEnabled(group);
    deleteGroup_->setEnabled(group && !subSystem);
    newSubSystem_->setEnabled(group);
    editSubSystem_->setEnabled(subSystem);
    deleteSubSystem_->setEnabled(subSystem);
}

void MainWindow::ShowDetails() {
    const QTreeWidgetItem* item = tree_->currentItem();
    details_->clear();
    const auto kind =
        item ? static_cast<ItemKind>(item->data(0, kKindRole).toInt()) : ItemKind::BusinessObjects;
    if (kind != ItemKind::Group && kind != ItemKind::SubSystem) {
        history_->ShowItem(std::nullopt);
        return;
    }
    history_->ShowItem(TreeItemRef{
        kind == ItemKind::Group ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem,
        item->data(0, kIdRole).toInt()});
    Guarded([&] {
        auto& module = *ModuleState::Current();
        auto& info = subsysmgr::GetDataFlowInfo(module);
        const bool group = kind == ItemKind::Group;
        const RecordsetPtr rows =
            group ? info.GetTopClass_All()
                  : info.GetSubSystem_All(Variant(item->data(0, kGroupIdRole).toInt()));
        rows->Filter(std::string(group ? "FTopClassID=" : "FSubSysID=") +
                     std::to_string(item->data(0, kIdRole).toInt()));
        if (rows->Eof()) {
            return;
        }
        const std::string prefix = group ? "FTopClassName_" : "FName_";
        QString html = QStringLiteral("<h3>%1 %2</h3><table cellpadding='3'>")
                           .arg(Tr(group ? texts::kGroupCaption : texts::kSubSystemCaption))
                           .arg(item->data(0, kIdRole).toInt());
        auto row = [&](std::string_view caption, const QString& value) {
            html +=
                QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(Tr(caption), value);
        };
        const auto field = [&](const char* column) {
            return Escaped(rows->Fields(column).TextOrEmpty());
        };
        row(texts::kCode, field(group ? "FTopClassID" : "FSubSysID"));
        row(texts::kIndexCaption, field("FIndex"));
        row(texts::kNameCaption, field((prefix + "CHS").c_str()));
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
    if (Guarded([this] { subsysmgr::SubSysGroupMgrUI().Show(1, 0, false, this); })) {
        Reload();
    }
}

void MainWindow::EditGroup() {
    const int32_t id = SelectedGroupId();
    if (id >= 0 &&
        Guarded([this, id] { subsysmgr::SubSysGroupMgrUI().Show(2, id, false, this); })) {
        Reload();
    }
}

void MainWindow::NewSubSystem() {
    const int32_t groupId = SelectedGroupId();
    if (Guarded(
            [this, groupId] { subsysmgr::SubSystemMgrUI().Show(1, groupId, 0, false, this); })) {
        Reload();
    }
}

void MainWindow::EditSubSystem() {
    const int32_t groupId = SelectedGroupId();
    const int32_t id = SelectedSubSystemId();
    if (id != 0 && Guarded([this, groupId, id] {
            subsysmgr::SubSystemMgrUI().Show(2, groupId, id, false, this);
        })) {
        Reload();
    }
}

void MainWindow::DeleteGroup() {
    const int32_t id = SelectedGroupId();
    if (id < 0 ||
        QMessageBox::question(this, Tr(texts::kWindowTitle),
                              Tr(texts::kConfirmDeleteGroup).arg(id)) != QMessageBox::Yes) {
        return;
    }
    bool deleted = false;
    Guarded([&] {
        subsysmgr::SubSysGroup group;
        group.initial(id);
        group.Deleted(true);  // refuses groups delivered with the suite
        group.OptType(subsysmgr::enm_OptType_Group);
        deleted = group.Save();  // refuses, with its message, a group that has subsystems
    });
    Reload();
    statusBar()->showMessage(Tr(deleted ? texts::kDeleted : texts::kNotSaved));
}

void MainWindow::DeleteSubSystem() {
    const int32_t groupId = SelectedGroupId();
    const int32_t id = SelectedSubSystemId();
    if (id == 0 ||
        QMessageBox::question(this, Tr(texts::kWindowTitle),
                              Tr(texts::kConfirmDeleteSubSystem).arg(id)) != QMessageBox::Yes) {
        return;
    }
    bool deleted = false;
    Guarded([&] {
        subsysmgr::SubSysGroup group;
        group.CancelCheck(true);
        group.Id(groupId);
        group.GetSubSystem(-1);
        group.DeleteSubSystem(id);  // refuses delivered subsystems and ones with sub-functions
        group.OptType(subsysmgr::enm_OptType_SubSystem);
        deleted = group.Save();  // refuses, with its message, one that has business objects
    });
    Reload();
    statusBar()->showMessage(Tr(deleted ? texts::kDeleted : texts::kNotSaved));
}

void MainWindow::RevertChange(int64_t change) {
    if (QMessageBox::question(this, Tr(texts::kWindowTitle),
                              Tr(texts::kConfirmRevert).arg(change)) != QMessageBox::Yes) {
        return;
    }
    const std::optional<TreeItemRef> item = history_->Item();
    bool reverted = false;
    try {
        subsysmgr::ChangeRevert().Revert(change, false, item);
        reverted = true;
    } catch (const ComError& error) {
        if (error.Offset() != subsysmgr::errors::kRevertOverLaterChange.offset) {
            Guarded([&] { throw error; });
        } else if (QMessageBox::question(this, Tr(texts::kWindowTitle),
                                         ToQString(error.Description()) + QStringLiteral("\n\n") +
                                             Tr(texts::kForceRevert),
                                         QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::No) == QMessageBox::Yes) {
            reverted = Guarded([&] { subsysmgr::ChangeRevert().Revert(change, true, item); });
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
        RememberDatabase(session_);
    } else {
        QMessageBox::warning(this, Tr(texts::kWindowTitle), Tr(texts::kCannotOpen));
        Guarded([this] { session_.DatabaseSpec(openedDatabase_, openedPassword_); });
        ActivateSession();
    }
    liveRefresh_->Watch(session_);
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
