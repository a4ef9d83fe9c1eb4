#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <string>

#include "DesignerFixture.h"
#include "ui/InputTool.h"
#include "ui/frmSubSystem.h"

namespace quarn::designer {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Confirmations are answered Yes.
class Undo : public DesignerFixture, public ::testing::WithParamInterface<suite::Backend> {
  protected:
    void SetUp() override {
        Open(GetParam());
        QObject::connect(&answer_, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->button(QMessageBox::Yes)->click();
            }
        });
        answer_.start(20);
    }

    // Every column of the groups and subsystems that may be changed but the row version, which
    // each write renews.
    std::string Rows() const {
        std::string rows;
        for (const char* query :
             {"select * from t_DataFlowTopClass where FTopClassID >= 800 order by FTopClassID",
              "select * from t_DataFlowSubSystem where FSubSysID >= 8000 order by FSubSysID"}) {
            const RecordsetPtr read = Query(query);
            for (; !read->Eof(); read->MoveNext()) {
                for (std::size_t column = 0; column < read->ColumnCount(); ++column) {
                    if (QString::fromStdString(read->ColumnName(column))
                            .compare(QStringLiteral("FVersion"), Qt::CaseInsensitive) != 0) {
                        rows += read->Fields(column).TextOrEmpty() + "|";
                    }
                }
                rows += "\n";
            }
        }
        return rows;
    }

    // The window is active again after a dialog, for its shortcuts.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        tree_->setFocus();
        QTest::keyClick(tree_, key, modifiers);
    }
    void PressUndo() { Press(Qt::Key_Z, Qt::ControlModifier); }
    void PressRedo() { Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }

    QAction* Action(const char* prefix) const {
        for (QAction* action : window_->findChildren<QAction*>()) {
            if (action->text().startsWith(QString::fromUtf8(prefix))) {
                return action;
            }
        }
        return nullptr;
    }
    std::string UndoText() const { return Action("&Undo")->text().toStdString(); }
    std::string RedoText() const { return Action("&Redo")->text().toStdString(); }

    // Deletes subsystems 8004 and 8010, in that order, after the confirmation.
    void DeleteBarcodeAndPharma() {
        for (const auto& [group, id] : {std::pair(850, 8004), std::pair(851, 8010)}) {
            tree_->expand(model_->GroupIndex(group));
            tree_->selectionModel()->select(
                model_->SubSystemIndex(group, id),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        Press(Qt::Key_Delete, Qt::NoModifier);
    }

    QTimer answer_;
};

TEST_P(Undo, AnEditIsUndoneAndRedoneThroughTheLogWithItsNameInTheSessionLanguage) {
    EXPECT_EQ(UndoText(), "&Undo");
    EXPECT_FALSE(Action("&Undo")->isEnabled());
    const std::string before = Rows();
    window_->Select(850, 8001);
    QTimer::singleShot(0, [] {
        auto* form = dynamic_cast<subsysmgr::frmSubSystem*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        form->inNameEN->Text(QStringLiteral("Dealer Web"));
        form->inIndex->Value(9);
        form->cmdSave->click();
    });
    Press(Qt::Key_E, Qt::ControlModifier);
    const std::string edited = Rows();
    ASSERT_NE(edited, before);
    ASSERT_THAT(edited, HasSubstr("Dealer Web"));
    EXPECT_THAT(edited, HasSubstr("DealerPortal.Application"));  // kept by the rewrite
    EXPECT_EQ(UndoText(), "&Undo edit of subsystem 8001");

    tree_->setCurrentIndex(model_->GroupIndex(852));
    PressUndo();
    EXPECT_TRUE(messages_->prompts.empty()) << ::testing::PrintToString(messages_->prompts);
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(tree_->currentIndex().data(kIdRole).toInt(), 8001);
    EXPECT_EQ(RedoText(), "&Redo edit of subsystem 8001");
    EXPECT_FALSE(Action("&Undo")->isEnabled());
    PressRedo();
    EXPECT_EQ(Rows(), edited);
    PressUndo();
    Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Rows(), edited);
    EXPECT_TRUE(messages_->prompts.empty()) << ::testing::PrintToString(messages_->prompts);

    ChooseLanguage("CHS");
    ASSERT_NE(Action("撤销"), nullptr);
    EXPECT_EQ(Action("撤销")->text().toStdString(), "撤销修改子系统 8001(&U)");
}

TEST_P(Undo, DeletesAndMovesAreUndoneAndRedoneAsOneStepEach) {
    const std::string before = Rows();
    DeleteBarcodeAndPharma();
    const std::string deleted = Rows();
    ASSERT_THAT(deleted, Not(HasSubstr("Barcode Capture")));
    ASSERT_THAT(deleted, Not(HasSubstr("Pharmaceutical")));
    EXPECT_EQ(UndoText(), "&Undo deletion of 2 items");
    PressUndo();
    EXPECT_EQ(Rows(), before);
    PressRedo();
    EXPECT_EQ(Rows(), deleted);
    PressUndo();
    ASSERT_EQ(Rows(), before);

    // A reorder within a group, then a move to another group.
    Drop({model_->SubSystemIndex(850, 8004)}, model_->GroupIndex(850), 0);
    const std::string reordered = Rows();
    ASSERT_NE(reordered, before);
    Drop({model_->SubSystemIndex(850, 8003)}, model_->GroupIndex(851), -1);
    const std::string moved = Rows();
    ASSERT_NE(moved, reordered);
    EXPECT_EQ(UndoText(), "&Undo move of subsystem 8003");
    PressUndo();
    EXPECT_EQ(Rows(), reordered);
    EXPECT_EQ(tree_->currentIndex().data(kIdRole).toInt(), 8003);
    PressUndo();
    EXPECT_EQ(Rows(), before);
    PressRedo();
    PressRedo();
    EXPECT_EQ(Rows(), moved);
    EXPECT_TRUE(messages_->prompts.empty()) << ::testing::PrintToString(messages_->prompts);
}

TEST_P(Undo, AnotherUsersChangeRefusesTheUndoWithTheEditorsMessageAndNothingIsWritten) {
    tree_->expand(model_->GroupIndex(850));
    Drop({model_->SubSystemIndex(850, 8003), model_->SubSystemIndex(850, 8004)},
         model_->GroupIndex(851), -1);
    ASSERT_EQ(UndoText(), "&Undo move of 2 items");
    // The first item moved is the last one undone: all are checked before anything is written.
    OtherProcess({"edit", "subsystem", "8003", "--web", "false"});
    const std::string changed = Rows();
    PressUndo();
    ASSERT_EQ(messages_->prompts.size(), 1u);
    EXPECT_THAT(messages_->prompts[0],
                HasSubstr("Someone else changed this item after it was read (20"));
    EXPECT_THAT(messages_->prompts[0], HasSubstr("\n(error 1042)"));
    EXPECT_EQ(Rows(), changed);
    EXPECT_EQ(UndoText(), "&Undo move of 2 items");
    EXPECT_FALSE(Action("&Redo")->isEnabled());
}

TEST_P(Undo, AStepRefusedHalfWaySaysWhatWasRestoredAndKeepsBothParts) {
    DeleteBarcodeAndPharma();
    // Undone newest first: 8010 comes back, then 8004's name is taken.
    OtherProcess({"add", "subsystem", "--id", "8021", "--group", "850", "--name-chs", "条码二",
                  "--name-cht", "條碼二", "--name-en", "Barcode Capture", "--acct-types", "1"});
    PressUndo();
    ASSERT_EQ(messages_->prompts.size(), 1u);
    EXPECT_THAT(messages_->prompts[0],
                HasSubstr("Restored: subsystem 8010. Not restored: subsystem 8004."));
    EXPECT_THAT(Rows(), HasSubstr("Pharmaceutical Batch Tracking"));
    EXPECT_EQ(UndoText(), "&Undo deletion of 2 items");
    EXPECT_EQ(RedoText(), "&Redo deletion of 2 items");
    PressRedo();
    EXPECT_THAT(Rows(), Not(HasSubstr("Pharmaceutical Batch Tracking")));
}

INSTANTIATE_TEST_SUITE_P(Stores, Undo,
                         ::testing::Values(suite::Backend::SQLite, suite::Backend::PostgreSQL),
                         suite::BackendName);

}  // namespace
}  // namespace quarn::designer
