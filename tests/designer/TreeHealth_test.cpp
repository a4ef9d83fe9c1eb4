#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <cstdlib>
#include <string>

#include "DesignerFixture.h"
#include "ProblemsPane.h"

namespace quarn::designer {
namespace {

using namespace Qt::StringLiterals;
using TreeHealth = DesignerFixture;

// Rows another program broke are listed as the command line's check finds them, and Enter on a
// line takes the tree to the item; the demo database itself has none.
TEST_F(TreeHealth, ListsBrokenRowsAndEnterTakesTheTreeToTheItem) {
    window_->ShowProblems();
    auto* list = window_->findChild<QTreeWidget*>(u"problemList"_s);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(window_->findChild<ProblemsPane*>()->findChild<QLabel*>()->text(),
              u"No problems found."_s);

    const std::string sql =
        "sqlite3 '" + (scratch_->folder / "tree.sqlite").string() +
        "' \"UPDATE t_DataFlowSubSystem SET FAcctType = '' WHERE FSubSysID = 8003\"";
    ASSERT_EQ(std::system(sql.c_str()), 0);
    window_->Reload();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_TRUE(list->topLevelItem(0)->text(0).startsWith(u"Subsystem 8003 "_s));
    EXPECT_EQ(list->topLevelItem(0)->text(2),
              u"A subsystem must belong to at least one account type."_s);

    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(tree_->currentIndex().data(kIdRole).toInt(), 8003);
    EXPECT_TRUE(tree_->hasFocus());
}

// A database on an older release of the delivered tree says so in the status bar, and the tree
// is worked on as before.
TEST_F(TreeHealth, ADatabaseOnAnOlderReleaseSaysSoWithoutBlockingWork) {
    auto* note = window_->findChild<QLabel*>(u"releaseNote"_s);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().isEmpty());

    const std::string sql =
        "sqlite3 '" + (scratch_->folder / "tree.sqlite").string() +
        "' \"UPDATE t_SuiteRelease SET FName = '2026.06', FDate = '2026-06-01'\"";
    ASSERT_EQ(std::system(sql.c_str()), 0);
    window_->Reload();
    EXPECT_TRUE(note->text().startsWith(u"The database is on release 2026.06, older than"_s))
        << note->text().toStdString();
    EXPECT_TRUE(model_->GroupIndex(850).isValid());
}

}  // namespace
}  // namespace quarn::designer
