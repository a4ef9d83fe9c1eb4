#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdlib>
#include <string>
#include <vector>

#include "DesignerFixture.h"

namespace quarn::designer {
namespace {

class TreeActions : public DesignerFixture {
  protected:
    // The identifiers of a group's subsystems (of the groups for -1) in their stored order.
    std::vector<int> Stored(int32_t groupId) const {
        const RecordsetPtr rows = Query(
            groupId < 0 ? "select FTopClassID as id from t_DataFlowTopClass order by FIndex, "
                          "FTopClassID"
                        : "select FSubSysID as id from t_DataFlowSubSystem where FTopClassID=" +
                              std::to_string(groupId) + " order by FIndex, FSubSysID");
        std::vector<int> ids;
        for (; !rows->Eof(); rows->MoveNext()) {
            ids.push_back(rows->Fields("id").ToInt32());
        }
        return ids;
    }

    // The same as the tree shows it.
    std::vector<int> Shown(const QModelIndex& parent) const {
        std::vector<int> ids;
        for (int row = 0; row < model_->rowCount(parent); ++row) {
            ids.push_back(model_->index(row, 0, parent).data(kIdRole).toInt());
        }
        return ids;
    }
};

TEST_F(TreeActions, FindShowsTheMatchesAndEscReopensWhatWasOpen) {
    const QModelIndex group = model_->GroupIndex(851);
    tree_->expand(group);
    const int groups = model_->rowCount();
    auto* filter = window_->findChild<QLineEdit*>(QStringLiteral("filter"));

    QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(filter->hasFocus());
    QTest::keyClicks(filter, QStringLiteral("PATROL"));
    ASSERT_EQ(model_->rowCount(), 1);
    const QModelIndex found = model_->index(0, 0, model_->index(0, 0));
    EXPECT_EQ(found.data(kIdRole).toInt(), 8002);
    EXPECT_TRUE(found.data(kMatchRole).toBool());
    EXPECT_TRUE(tree_->isExpanded(model_->index(0, 0)));
    filter->setText(QStringLiteral("設備巡檢"));
    EXPECT_EQ(Shown(model_->index(0, 0)), std::vector<int>{8002});

    tree_->setCurrentIndex(model_->index(0, 0, model_->index(0, 0)));
    QTest::keyClick(tree_, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_EQ(model_->rowCount(), groups);
    EXPECT_TRUE(tree_->isExpanded(model_->GroupIndex(851)));
    EXPECT_EQ(tree_->currentIndex().data(kIdRole).toInt(), 8002);  // chosen while filtered
}

// Whatever height the window gives the tree, and as rows come and go, it ends on a whole row.
TEST_F(TreeActions, TheTreeEndsOnAWholeRow) {
    const int opened = window_->height();
    for (const int taller : {0, 5, 11, 29}) {
        window_->resize(window_->width(), opened + taller);
        tree_->expand(model_->GroupIndex(taller % 2 == 0 ? 850 : 851));
        QApplication::processEvents();
        const int row = tree_->visualRect(model_->index(0, 0)).height();
        ASSERT_GT(row, 0);
        EXPECT_EQ(tree_->viewport()->height() % row, 0) << taller;
    }
}

TEST_F(TreeActions, ADragOrAltUpWritesTheNewOrderThroughTheObjects) {
    const QModelIndex group = model_->GroupIndex(850);
    tree_->expand(group);
    Drop({model_->SubSystemIndex(850, 8004)}, group, 0);
    EXPECT_EQ(Stored(850), (std::vector<int>{8004, 8001, 8002, 8003, 8005}));
    EXPECT_EQ(Shown(group), Stored(850));
    EXPECT_TRUE(messages_->prompts.empty());

    // Alt+Down moves the current subsystem, the one just dropped, one place down.
    tree_->setFocus();
    QTest::keyClick(tree_, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Stored(850), (std::vector<int>{8001, 8004, 8002, 8003, 8005}));
    EXPECT_EQ(tree_->currentIndex().data(kIdRole).toInt(), 8004);

    // A group between groups; a subsystem onto another group moves into it, at its end.
    Drop({model_->GroupIndex(851)}, {}, 0);
    EXPECT_EQ(Stored(-1).front(), 851) << ::testing::PrintToString(messages_->prompts);
    EXPECT_EQ(Shown({}), Stored(-1));
    Drop({model_->SubSystemIndex(850, 8003)}, model_->GroupIndex(851), -1);
    EXPECT_EQ(Stored(851), (std::vector<int>{8010, 8003}));
    EXPECT_TRUE(messages_->prompts.empty());

    // Another program left group 852 without an account type, which its editor refuses: so does
    // its move.
    const std::string sql =
        "sqlite3 '" + (scratch_->folder / "tree.sqlite").string() +
        "' \"UPDATE t_DataFlowTopClass SET FAcctType = NULL WHERE FTopClassID = 852\"";
    ASSERT_EQ(std::system(sql.c_str()), 0);
    window_->Reload();
    Drop({model_->GroupIndex(852)}, {}, 0);
    EXPECT_EQ(Stored(-1).front(), 851);
    EXPECT_EQ(messages_->prompts.size(), 1u);
    EXPECT_EQ(Shown(model_->GroupIndex(851)), Stored(851));
}

TEST_F(TreeActions, ADropTheRulesRefuseShowsTheRulesMessageAndChangesNothing) {
    // A subsystem of group 851 named like one of group 850 cannot move there.
    OtherProcess({"add", "subsystem", "--id", "8011", "--group", "851", "--name-chs", "设备巡检",
                  "--name-cht", "另一個", "--name-en", "Another one"});
    window_->Reload();
    const std::vector<int> before850 = Stored(850);
    const std::vector<int> before851 = Stored(851);
    Drop({model_->SubSystemIndex(851, 8011)}, model_->GroupIndex(850), 1);
    ASSERT_EQ(messages_->prompts.size(), 1u);
    EXPECT_NE(messages_->prompts.front().find("already has this simplified Chinese name"),
              std::string::npos)
        << messages_->prompts.front();
    EXPECT_EQ(Stored(850), before850);
    EXPECT_EQ(Stored(851), before851);
}

TEST_F(TreeActions, DeletingSeveralSavesEachAndSaysWhichWereRefusedAndWhy) {
    OtherProcess({"add", "subsystem", "--id", "8020", "--group", "852", "--name-chs", "临时",
                  "--name-cht", "臨時", "--name-en", "Temporary"});
    window_->Reload();
    tree_->expand(model_->GroupIndex(1));
    tree_->selectionModel()->select(model_->SubSystemIndex(852, 8020),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    tree_->selectionModel()->select(model_->SubSystemIndex(1, 1),  // delivered with the suite
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    std::vector<std::string> boxes;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.push_back(box->text().toStdString());
            box->button(box->standardButtons() & QMessageBox::Yes ? QMessageBox::Yes
                                                                  : QMessageBox::Ok)
                ->click();
        }
    });
    answer.start(20);
    QTest::keyClick(tree_, Qt::Key_Delete);

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].find("8020  Temporary"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("1  General Ledger"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[1].find("1  General Ledger: "), std::string::npos) << boxes[1];
    EXPECT_NE(boxes[1].find(" (error 1003)"), std::string::npos) << boxes[1];
    EXPECT_EQ(boxes[1].find("Temporary"), std::string::npos) << boxes[1];
    EXPECT_TRUE(Stored(852).empty());
    EXPECT_EQ(Stored(1).front(), 1);
    EXPECT_TRUE(messages_->prompts.empty());  // the objects' messages went into the result
}

// What another user did after the window showed the tree is refused with the message the command
// line gives for it, and kept.
class ChangedElsewhere : public TreeActions, public ::testing::WithParamInterface<suite::Backend> {
  protected:
    void SetUp() override { Open(GetParam()); }

    // Selects the item, presses the key and answers the confirmation Yes; the prompt the
    // deletion then showed.
    std::string DeleteRefused(const QModelIndex& item, QKeyCombination key) {
        tree_->setCurrentIndex(item);
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->button(QMessageBox::Yes)->click();
            }
        });
        answer.start(20);
        messages_->prompts.clear();
        QTest::keyClick(tree_, key.key(), key.keyboardModifiers());
        return messages_->prompts.empty() ? "" : messages_->prompts.back();
    }
};

TEST_P(ChangedElsewhere, AGroupSomeoneElseDeletedIsNamedAsTheCommandLineNamesIt) {
    const QModelIndex group = model_->GroupIndex(852);
    OtherProcess({"delete", "group", "852"});
    EXPECT_EQ(DeleteRefused(group, Qt::SHIFT | Qt::Key_Delete),
              "There is no subsystem group 852.\n(error 2303)");
}

TEST_P(ChangedElsewhere, ASubsystemSomeoneElseChangedIsKept) {
    tree_->expand(model_->GroupIndex(850));
    const QModelIndex subSystem = model_->SubSystemIndex(850, 8004);
    OtherProcess({"edit", "subsystem", "8004", "--web", "true"});
    const std::string changed = DeleteRefused(subSystem, QKeyCombination(Qt::Key_Delete));
    EXPECT_THAT(changed, ::testing::HasSubstr("Someone else changed this item after it was read"));
    EXPECT_THAT(changed, ::testing::HasSubstr("(error 1042)"));
    EXPECT_EQ(Stored(850).size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Stores, ChangedElsewhere,
                         ::testing::Values(suite::Backend::SQLite, suite::Backend::PostgreSQL),
                         suite::BackendName);

}  // namespace
}  // namespace quarn::designer
