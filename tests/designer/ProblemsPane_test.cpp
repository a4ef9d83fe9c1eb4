#include "ProblemsPane.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <cstdlib>
#include <string>

#include "DesignerFixture.h"

namespace quarn::designer {
namespace {

using namespace Qt::StringLiterals;
using Problems = DesignerFixture;

// Rows another program broke are listed as the command line's check finds them, and Enter on a
// line takes the tree to the item; the demo database itself has none.
TEST_F(Problems, ListsBrokenRowsAndEnterTakesTheTreeToTheItem) {
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

}  // namespace
}  // namespace quarn::designer
