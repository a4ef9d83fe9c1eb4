#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <initializer_list>
#include <memory>
#include <string>

#include "FunctionalTreeModel.h"
#include "MainWindow.h"
#include "OtherProcess.h"
#include "host/IClassInfo.h"
#include "host/ProgIds.h"
#include "runtime/SessionContext.h"
#include "store/StoreFixture.h"
#include "suite/DataPaths.h"
#include "ui/QtPlatform.h"

namespace quarn::designer {

/// The rows of `sql` on the database of the session active now.
inline RecordsetPtr Query(const std::string& sql) {
    auto& module = *subsysmgr::ModuleState::Current();
    return module.registry->Create<IClassInfo>(progid::kClassInfo)
        ->GetData(subsysmgr::GetPropsString(module), sql);
}

/// Makes the window's settings go to `folder` (Qt reads XDG_CONFIG_HOME only once a process).
inline void KeepSettingsIn(const QString& folder) {
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, folder);
    }
}

/// The designer window on a demo database of its own, shown, active (for its shortcuts) and
/// loaded once; the component runs on Qt with the help folder, but its messages are recorded
/// instead of shown. Settings and data go to a temporary folder. SQLite unless a test calls Open
/// itself; a test on either backend derives from ::testing::WithParamInterface<Backend> too.
class DesignerFixture : public ::testing::Test {
  protected:
    void SetUp() override { Open(suite::Backend::SQLite); }

    /// Skips the test when `backend` needs the test server and there is none; a failure or a
    /// skip leaves window_ empty. A `database` given opens the window on it instead of on the
    /// scratch database.
    void Open(suite::Backend backend, const std::string& database = {}) {
        if (backend != suite::Backend::SQLite && suite::TestServer(backend).empty()) {
            GTEST_SKIP() << "QUARN_TEST_PG is not set (run under scripts/with-postgres)";
        }
        ASSERT_TRUE(folder_.isValid());
        setenv("XDG_DATA_HOME", folder_.path().toUtf8().constData(), 1);
        KeepSettingsIn(folder_.path());
        setenv("QUARN_DATA_DIR", QUARN_RESOURCES_DIR, 1);
        scratch_ = std::make_unique<suite::ScratchDatabase>(backend);
        session_ = std::make_unique<suite::HostSession>(
            database.empty() ? scratch_->Spec() : database, "EN");
        session_->Activate();
        subsysmgr::InstallQtPlatform(*session_->Module(), session_->Registry(),
                                     suite::DataDirectory() / "help");
        session_->Module()->messageBox = messages_;
        auto window = std::make_unique<MainWindow>(*session_);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->Reload();
        tree_ = window->findChild<QTreeView*>(QStringLiteral("functionalTree"));
        ASSERT_NE(tree_, nullptr);
        model_ = qobject_cast<FunctionalTreeModel*>(tree_->model());
        window_ = std::move(window);
    }

    void OtherProcess(std::initializer_list<const char*> arguments) const {
        RunOtherProcess(scratch_->Spec(), arguments);
    }

    /// Drops the items onto `parent` before its row `row` (-1: onto the parent itself), which
    /// the model must accept.
    void Drop(const QModelIndexList& items, const QModelIndex& parent, int row) {
        std::unique_ptr<QMimeData> data(model_->mimeData(items));
        EXPECT_TRUE(model_->canDropMimeData(data.get(), Qt::MoveAction, row, 0, parent));
        model_->dropMimeData(data.get(), Qt::MoveAction, row, 0, parent);
        QApplication::processEvents();  // the move runs after the drop
    }

    /// Chooses the language as the user does, by its entry in the menu.
    void ChooseLanguage(const char* language) {
        for (QAction* choice : window_->findChildren<QAction*>()) {
            if (choice->text() == QLatin1String(language)) {
                choice->trigger();
            }
        }
    }

    // Made in this order and destroyed in the reverse one: the window before its session, the
    // session before its database.
    std::shared_ptr<suite::RecordingMessageBox> messages_ =
        std::make_shared<suite::RecordingMessageBox>();
    QTemporaryDir folder_;
    std::unique_ptr<suite::ScratchDatabase> scratch_;
    std::unique_ptr<suite::HostSession> session_;
    std::unique_ptr<MainWindow> window_;
    QTreeView* tree_ = nullptr;
    FunctionalTreeModel* model_ = nullptr;
};

}  // namespace quarn::designer
