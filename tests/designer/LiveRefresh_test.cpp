#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "DesignerFixture.h"
#include "suite/store/Database.h"

namespace quarn::designer {
namespace {

using suite::Backend;

// Another process changes the tree.
class LiveRefreshTest : public DesignerFixture, public ::testing::WithParamInterface<Backend> {
  protected:
    void SetUp() override { Open(GetParam()); }

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

// The tab names who made each change and what it came through, reverts one and checks the seals.
TEST_P(LiveRefreshTest, TheHistoryTabListsAnotherUsersChangeRevertsItAndChecksTheSeals) {
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
    const QString who = changes->topLevelItem(0)->text(2);
    EXPECT_TRUE(who.contains(QStringLiteral(" via "))) << who.toStdString();
    EXPECT_FALSE(who.startsWith(QStringLiteral("another program")));

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

    auto* verify = window_->findChild<QPushButton*>(QStringLiteral("verifySeals"));
    auto* seals = window_->findChild<QLabel*>(QStringLiteral("seals"));
    ASSERT_TRUE(verify && seals);
    verify->click();
    EXPECT_TRUE(seals->text().startsWith(QStringLiteral("Every sealed change is as it was sealed")))
        << seals->text().toStdString();

    // Another program with the right to write the log (on PostgreSQL its owner) forges the client.
    const auto forger = suite::Connect(scratch_->location, suite::OpenMode::ReadWrite);
    forger->Execute("UPDATE t_DataFlowChangeLog SET FClient = 'mallory@forged'");
    verify->click();
    EXPECT_TRUE(seals->text().contains(QStringLiteral("does not match its seal")))
        << seals->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Stores, LiveRefreshTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         suite::BackendName);

}  // namespace
}  // namespace quarn::designer
