#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "FunctionalTreeModel.h"
#include "MainWindow.h"
#include "OtherProcess.h"
#include "store/StoreFixture.h"
#include "suite/DataPaths.h"
#include "ui/QtPlatform.h"

namespace quarn::designer {
namespace {

using suite::Backend;

// The designer window on a database of its own, and another process that changes the tree.
class LiveRefreshTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        if (GetParam() != Backend::SQLite && suite::TestServer().empty()) {
            GTEST_SKIP() << "QUARN_TEST_PG is not set (run under scripts/with-postgres)";
        }
        ASSERT_TRUE(folder_.isValid());
        setenv("XDG_CONFIG_HOME", folder_.path().toUtf8().constData(), 1);
        setenv("QUARN_DATA_DIR", QUARN_RESOURCES_DIR, 1);
        scratch_ = std::make_unique<suite::ScratchDatabase>(GetParam());
        session_ = std::make_unique<suite::HostSession>(scratch_->Spec(), "EN");
        session_->Activate();
        subsysmgr::InstallQtPlatform(*session_->Module(), session_->Registry(),
                                     suite::DataDirectory() / "help");
        window_ = std::make_unique<MainWindow>(*session_);
        window_->show();
        window_->Reload();
        tree_ = window_->findChild<QTreeView*>(QStringLiteral("functionalTree"));
        ASSERT_NE(tree_, nullptr);
        model_ = tree_->model();
    }

    void TearDown() override {
        window_.reset();
        session_.reset();
        scratch_.reset();
    }

    void OtherProcess(std::initializer_list<const char*> arguments) {
        RunOtherProcess(scratch_->Spec(), arguments);
    }

    // The subsystem's row as the view shows it (the group's rows read if need be).
    QModelIndex Item(int32_t groupId, int32_t subSystemId) const {
        for (int i = 0; i < model_->rowCount(); ++i) {
            const QModelIndex group = model_->index(i, 0);
            if (group.data(kIdRole).toInt() != groupId) {
                continue;
            }
            model_->fetchMore(group);
            for (int j = 0; j < model_->rowCount(group); ++j) {
                if (model_->index(j, 0, group).data(kIdRole).toInt() == subSystemId) {
                    return model_->index(j, 0, group);
                }
            }
        }
        return {};
    }

    // Runs the event loop until the subsystem reads `text` or two seconds have passed.
    bool ShowsWithinTwoSeconds(int32_t groupId, int32_t subSystemId, const QString& text) {
        const QDeadlineTimer deadline(2000);
        while (!deadline.hasExpired()) {
            const QModelIndex item = Item(groupId, subSystemId);
            if (item.siblingAtColumn(FunctionalTreeModel::kNameColumn)
                    .data()
                    .toString()
                    .contains(text)) {
                return true;
            }
            QTest::qWait(20);
        }
        return false;
    }

    QTemporaryDir folder_;
    std::unique_ptr<suite::ScratchDatabase> scratch_;
    std::unique_ptr<suite::HostSession> session_;
    std::unique_ptr<MainWindow> window_;
    QTreeView* tree_ = nullptr;
    QAbstractItemModel* model_ = nullptr;
};

TEST_P(LiveRefreshTest, AnotherProcesssRenameShowsWithinTwoSecondsKeepingWhatTheUserOpened) {
    window_->Select(850, 8004);
    tree_->expand(model_->index(0, 0));
    const int32_t otherGroupId = model_->index(0, 0).data(kIdRole).toInt();

    OtherProcess({"edit", "subsystem", "8002", "--name-en", "Patrol Renamed Elsewhere"});
    ASSERT_TRUE(ShowsWithinTwoSeconds(850, 8002, QStringLiteral("Patrol Renamed Elsewhere")));

    EXPECT_EQ(tree_->currentIndex(), Item(850, 8004));
    for (int i = 0; i < model_->rowCount(); ++i) {
        if (model_->index(i, 0).data(kIdRole).toInt() == otherGroupId) {
            EXPECT_TRUE(tree_->isExpanded(model_->index(i, 0)));
        }
    }

    // A change made while a dialog is open waits until it has closed.
    QDialog dialog(window_.get());
    dialog.setModal(true);
    dialog.show();
    OtherProcess({"edit", "subsystem", "8002", "--name-en", "Second Name"});
    EXPECT_FALSE(ShowsWithinTwoSeconds(850, 8002, QStringLiteral("Second Name")));
    dialog.close();
    EXPECT_TRUE(ShowsWithinTwoSeconds(850, 8002, QStringLiteral("Second Name")));
}

TEST_P(LiveRefreshTest, TheHistoryTabListsAnotherUsersChangeAndRevertsIt) {
    OtherProcess({"edit", "subsystem", "8002", "--name-en", "Patrol Renamed Elsewhere"});
    ASSERT_TRUE(ShowsWithinTwoSeconds(850, 8002, QStringLiteral("Patrol Renamed Elsewhere")));
    window_->Select(850, 8002);
    window_->ShowHistory();
    auto* changes = window_->findChild<QTreeWidget*>(QStringLiteral("changes"));
    ASSERT_NE(changes, nullptr);
    ASSERT_EQ(changes->topLevelItemCount(), 1);
    ASSERT_GE(changes->topLevelItem(0)->childCount(), 1);
    EXPECT_TRUE(changes->topLevelItem(0)->child(0)->text(0).contains(
        QStringLiteral("Equipment Patrol Inspection \u2192 Patrol Renamed Elsewhere")));

    // Revert, answering Yes to the question it asks.
    QTimer yes;
    QObject::connect(&yes, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Yes)->click();
        }
    });
    yes.start(20);
    changes->setCurrentItem(changes->topLevelItem(0));
    window_->findChild<QPushButton*>(QStringLiteral("revert"))->click();
    EXPECT_TRUE(ShowsWithinTwoSeconds(850, 8002, QStringLiteral("Equipment Patrol Inspection")));
    ASSERT_EQ(changes->topLevelItemCount(), 2);
    EXPECT_TRUE(changes->topLevelItem(0)->text(3).contains(QStringLiteral("reverts change")));
}

INSTANTIATE_TEST_SUITE_P(Stores, LiveRefreshTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         [](const auto& test) {
                             return test.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
                         });

}  // namespace
}  // namespace quarn::designer
