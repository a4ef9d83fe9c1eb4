// The designer window as a screen reader sees it through Qt's accessibility interfaces, and
// from the keyboard: names of the tree, the search box and its clear button, the preview chooser
// and the details; rows that say what they are; results kept where a reader finds them; the
// context menu on Shift+F10; and Enter at a deletion's question keeping the data.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include "DesignerFixture.h"
#include "DesignerTexts.h"
#include "SessionText.h"

namespace quarn::designer {
namespace {

using namespace Qt::StringLiterals;

using Accessibility = DesignerFixture;

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The accessible cell the tree shows for the index.
QAccessibleInterface* CellOf(QTreeView& tree, const QModelIndex& index) {
    const QPoint at = tree.viewport()->mapToGlobal(tree.visualRect(index).center());
    return Accessible(&tree)->childAt(at.x(), at.y());
}

TEST_F(Accessibility, EveryPaneIsNamedAndEachRowSaysWhatItIs) {
    EXPECT_EQ(Accessible(tree_)->text(QAccessible::Name), u"Functional tree"_s);
    auto* filter = window_->findChild<QLineEdit*>(u"filter"_s);
    EXPECT_EQ(Accessible(filter)->text(QAccessible::Name), u"Find"_s);
    const auto clear = filter->findChildren<QToolButton*>();
    ASSERT_EQ(clear.size(), 1);
    EXPECT_EQ(Accessible(clear[0])->text(QAccessible::Name), u"Clear the filter"_s);
    // The chooser's own name is its choice on Linux; its label names it.
    auto* chooser = window_->findChild<QComboBox*>(u"previewChooser"_s);
    const auto labels = Accessible(chooser)->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), u"Preview as"_s);

    // Group 1 and its subsystem 101 read differently from their codes alone.
    const QModelIndex group = model_->GroupIndex(1);
    tree_->expand(group);
    const QModelIndex subSystem = model_->index(0, 0, group);
    QAccessibleInterface* groupCell = CellOf(*tree_, group);
    ASSERT_NE(groupCell, nullptr);
    EXPECT_EQ(groupCell->text(QAccessible::Name), u"Group 1 Financial Accounting"_s);
    EXPECT_EQ(groupCell->text(QAccessible::Description), u"Subsystem group"_s);
    QAccessibleInterface* subSystemCell = CellOf(*tree_, subSystem);
    ASSERT_NE(subSystemCell, nullptr);
    EXPECT_TRUE(subSystemCell->text(QAccessible::Name)
                    .startsWith(u"Subsystem "_s + subSystem.data(kIdRole).toString() + u' '));
    EXPECT_EQ(subSystemCell->text(QAccessible::Description), u"Subsystem"_s);

    // The details read as plain lines, without the marks of the table's cells.
    tree_->setCurrentIndex(group);
    QTextBrowser* details = window_->findChild<QTextBrowser*>();
    QAccessibleInterface* pane = Accessible(details);
    EXPECT_EQ(pane->text(QAccessible::Name), u"Details"_s);
    QAccessibleTextInterface* text = pane->textInterface();
    ASSERT_NE(text, nullptr);
    const QString plain = text->text(0, text->characterCount());
    EXPECT_TRUE(plain.startsWith(u"Subsystem group 1\n"_s)) << plain.toStdString();
    EXPECT_TRUE(plain.contains(u"Financial Accounting"_s));
    EXPECT_FALSE(plain.contains(QChar(0xFDD0)) || plain.contains(QChar(0xFDD1)));
}

// Typing a search leaves the focus in the box, and what the search found stays readable there
// after the status bar's message has passed.
TEST_F(Accessibility, ASearchKeepsTheFocusAndItsResultInTheSearchBox) {
    auto* filter = window_->findChild<QLineEdit*>(u"filter"_s);
    filter->setFocus();
    QTest::keyClicks(filter, u"Financial"_s);
    EXPECT_EQ(QApplication::focusWidget(), filter);
    const QString found = window_->statusBar()->currentMessage();
    ASSERT_FALSE(found.isEmpty());
    window_->statusBar()->clearMessage();
    EXPECT_EQ(Accessible(filter)->text(QAccessible::Description), found);

    // Esc clears the search, and no count of it is left in the status bar.
    QTest::keyClicks(filter, u"x"_s);
    ASSERT_FALSE(window_->statusBar()->currentMessage().isEmpty());
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_TRUE(window_->statusBar()->currentMessage().isEmpty());
}

// A count reads as the session language writes it: the form for one where the language has one,
// and the language's digit grouping.
TEST_F(Accessibility, CountsFollowTheSessionLanguage) {
    EXPECT_EQ(Counted(texts::kFound, 1), u"1 item found."_s);
    EXPECT_EQ(Counted(texts::kFound, 12345), u"12,345 items found."_s);
    EXPECT_EQ(Counted(texts::kSubSystemCount, 1), u"1 subsystem"_s);
    ChooseLanguage("CHS");
    EXPECT_EQ(Counted(texts::kFound, 1), u"找到 1 项。"_s);
    EXPECT_EQ(Counted(texts::kFound, 12345), u"找到 12,345 项。"_s);
}

TEST_F(Accessibility, ShiftF10OpensTheContextMenuOfTheCurrentItem) {
    tree_->setFocus();
    tree_->setCurrentIndex(model_->GroupIndex(1));
    QTest::keyClick(tree_, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->actions().isEmpty());
    menu->close();
}

// Enter pressed at the question of a deletion, before it was read, answers No.
TEST_F(Accessibility, EnterAtADeletionsQuestionKeepsTheItem) {
    OtherProcess({"add", "group", "--id", "861", "--name-chs", "物流", "--name-cht", "物流",
                  "--name-en", "Logistics"});
    window_->Reload();
    tree_->setFocus();
    tree_->setCurrentIndex(model_->GroupIndex(861));
    QString defaultAnswer;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            defaultAnswer = box->defaultButton() ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    answer.start(20);
    QTest::keyClick(tree_, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(defaultAnswer, u"&No"_s);
    EXPECT_TRUE(model_->GroupIndex(861).isValid());
}

}  // namespace
}  // namespace quarn::designer
