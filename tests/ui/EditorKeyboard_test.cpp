// The editors from the keyboard and as a screen reader sees them through Qt's accessibility
// interfaces: the grid as one tab stop and a list of choices, the first focus, access keys, and
// Esc over unsaved edits. (The events a reader receives need a platform with accessibility on;
// scripts/atspi-walk shows them.)

#include <gtest/gtest.h>

#include <QAccessible>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

#include "ui/EditorFixture.h"
#include "ui/InputTool.h"
#include "ui/SpreadGrid.h"
#include "ui/frmSubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;

class EditorKeyboard : public EditorFixture {
  protected:
    std::unique_ptr<frmSubSysGroup> Open(int32_t status) {
        auto dialog = std::make_unique<frmSubSysGroup>();
        if (status == kStatusEdit) {
            dialog->objSubSysGroup = std::make_shared<SubSysGroup>();
            dialog->objSubSysGroup->initial(850);
        }
        dialog->lngStatus = status;
        dialog->Form_Load();
        ShowActive(*dialog);
        return dialog;
    }
};

// Clicks the button of the message box whose text holds `answer` (the fake catalog's text).
void Answer(QDialog& dialog, const QString& answer) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* button : box->buttons()) {
        if (button->text().contains(answer)) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << answer.toStdString();
    box->reject();
}

TEST_F(EditorKeyboard, TheGridIsOneTabStopThatSpaceTicksAndReadersHearAsAListOfChoices) {
    auto dialog = Open(kStatusAdd);
    SpreadGrid& grid = *dialog->vaSpread;
    const auto focusedFrom = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        grid.setFocus();
        QTest::keyClick(&grid, key, modifiers);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(focusedFrom(Qt::Key_Tab, Qt::NoModifier), dialog->cmdSave);
    EXPECT_EQ(focusedFrom(Qt::Key_Tab, Qt::ShiftModifier), dialog->InWeb->Editor());
    EXPECT_EQ(focusedFrom(Qt::Key_Tab, Qt::ControlModifier), dialog->cmdSave);
    EXPECT_EQ(focusedFrom(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier),
              dialog->InWeb->Editor());

    // One list item per account type, checkable whether ticked or not; no header cells.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&grid);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), grid.MaxRows());
    for (int row = 0; row < grid.MaxRows(); ++row) {
        QAccessibleInterface* item = list->child(row);
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(item->text(QAccessible::Name), grid.item(row, 1)->text());
        EXPECT_TRUE(item->state().checkable);
        EXPECT_EQ(item->state().checked, grid.CheckValue(row + 1) != 0);
        EXPECT_EQ(list->indexOfChild(item), row);
    }

    // The arrows stay in the grid, whose focused item is the current row; Space ticks the row
    // from either cell.
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), &grid);
    ASSERT_EQ(grid.Row(), 2);
    EXPECT_EQ(list->focusChild(), list->child(1));
    EXPECT_TRUE(list->child(1)->state().focused);
    const int before = grid.CheckValue(2);
    for (const int col : {SpreadGrid::kTextColumn, SpreadGrid::kCheckColumn}) {
        grid.Col(col);
        QTest::keyClick(&grid, Qt::Key_Space);
        EXPECT_EQ(list->child(1)->state().checked, grid.CheckValue(2) != 0);
    }
    EXPECT_EQ(grid.CheckValue(2), before);  // ticked and cleared again
    list->child(1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_NE(grid.CheckValue(2), before);
}

// The first focus a reader hears is the first input the user can type in, never a grid cell;
// a field's caption and tooltip are its editor's, and the field around it takes no focus.
TEST_F(EditorKeyboard, OpeningFocusesTheFirstInputAndFieldsAreTheirEditors) {
    for (const int32_t status : {kStatusAdd, kStatusEdit}) {
        SCOPED_TRACE(status);
        std::vector<QWidget*> focused;
        const QMetaObject::Connection spy =
            QObject::connect(qApp, &QApplication::focusChanged,
                             [&](QWidget*, QWidget* now) { focused.push_back(now); });
        auto dialog = Open(status);
        QObject::disconnect(spy);
        ASSERT_FALSE(focused.empty());
        InputTool* first = status == kStatusAdd ? dialog->inID : dialog->inIndex;
        EXPECT_EQ(focused.front(), first->Editor());
        EXPECT_EQ(QApplication::focusWidget(), first->Editor());
        for (InputTool* field : dialog->findChildren<InputTool*>()) {
            EXPECT_EQ(field->focusPolicy(), Qt::NoFocus) << field->objectName().toStdString();
        }
        QAccessibleInterface* id = QAccessible::queryAccessibleInterface(dialog->inID->Editor());
        EXPECT_EQ(id->text(QAccessible::Description), u"[CHS]子系统分组代码，在Quarn系统中唯一"_s);
    }
}

TEST_F(EditorKeyboard, AltAndALabelsKeyMoveTheFocusToItsControl) {
    auto dialog = Open(kStatusAdd);
    const std::pair<Qt::Key, QWidget*> keys[] = {{Qt::Key_N, dialog->inName->Editor()},
                                                 {Qt::Key_T, dialog->inNameCHT->Editor()},
                                                 {Qt::Key_O, dialog->inIndex->Editor()},
                                                 {Qt::Key_A, dialog->vaSpread}};
    for (const auto& [key, control] : keys) {
        QTest::keyClick(dialog.get(), key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), control)
            << QKeySequence(key).toString().toStdString();
    }
}

// Esc (as the window's close button) asks before it drops what the user changed, and only then;
// going back keeps the input, saving saves and closes.
TEST_F(EditorKeyboard, EscAsksBeforeDiscardingEditsAndOnlyThen) {
    auto dialog = Open(kStatusAdd);
    dialog->vaSpread->CheckValue(2, dialog->vaSpread->CheckValue(2) != 0 ? 0 : 1);
    dialog->inName->Text(u"新分组"_s);
    {
        ModalScript back([](QDialog& box) { Answer(box, u"取消"_s); });
        QTest::keyClick(dialog->inName->Editor(), Qt::Key_Escape);
        EXPECT_TRUE(back.Ran());
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->inName->Text(), u"新分组"_s);
    {
        ModalScript discard([](QDialog& box) { Answer(box, u"放弃修改"_s); });
        QTest::keyClick(dialog->inName->Editor(), Qt::Key_Escape);
        EXPECT_TRUE(discard.Ran());
    }
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(Writes(), 0u);

    dialog = Open(kStatusAdd);
    dialog->inID->Value(860);
    dialog->inName->Text(u"新分组"_s);
    dialog->inNameCHT->Text(u"新分組"_s);
    dialog->inNameEN->Text(u"New Group"_s);
    {
        ModalScript save([](QDialog& box) { Answer(box, u"保存"_s); });
        QTest::keyClick(dialog->inName->Editor(), Qt::Key_Escape);
        EXPECT_TRUE(save.Ran());
    }
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_NE(Stored(suite.datasInfo->groups, 860), nullptr);
}

}  // namespace
}  // namespace quarn::subsysmgr
