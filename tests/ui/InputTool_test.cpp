#include "ui/InputTool.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <memory>
#include <utility>
#include <vector>

#include "runtime/KeyedText.h"
#include "ui/EditorFixture.h"
#include "ui/QtText.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;

TEST(InputTool, NumberBoxShowsCodesWithoutSeparatorsKeepsProgramValuesAndPullsTypedOnesIntoRange) {
    QDialog window;
    InputTool number(InputTool::Kind::Number, &window);
    InputTool next(InputTool::Kind::Text, &window);
    number.Min(800);
    number.Max(899);
    number.Value(8000);
    EXPECT_EQ(number.Text(), u"8000"_s);
    EXPECT_EQ(number.Value(), 8000);  // outside the range, but set by the program
    number.Text(u"10000"_s);
    EXPECT_EQ(number.Text(), u"10000"_s);

    EditorFixture::ShowActive(window);
    number.setFocus();
    auto* edit = qobject_cast<QLineEdit*>(number.Editor());
    edit->selectAll();
    QTest::keyClicks(edit, u"1,2x50"_s);  // the letter is refused, a pasted separator dropped
    EXPECT_EQ(number.Value(), 1250);      // read as typed until the field is left
    next.setFocus();
    EXPECT_EQ(number.Value(), 899);
    EXPECT_EQ(number.Text(), u"899"_s);
}

TEST(InputTool, TextLengthCountsCharactersNotUtf16Units) {
    QDialog window;
    InputTool name(InputTool::Kind::Text, &window);
    name.MaxLength(40);
    const QString chinese = u"财"_s.repeated(40);
    name.Text(chinese);
    EXPECT_EQ(name.Text(), chinese);
    name.Text(chinese + u"务"_s);
    EXPECT_EQ(name.Text(), chinese);
    const QString supplementary = u"𠀀"_s.repeated(40);  // two UTF-16 units each
    name.Text(supplementary + u"𠀀"_s);
    EXPECT_EQ(name.Text(), supplementary);

    EditorFixture::ShowActive(window);
    name.setFocus();
    QTest::keyClicks(name.Editor(), u"x"_s);  // a full field takes no more
    EXPECT_EQ(name.Text(), supplementary);
    name.MaxLength(3);
    EXPECT_EQ(name.Text(), u"𠀀"_s.repeated(3));
}

// A drop-down list shows the display part of a keyed entry and keeps the whole entry and its
// key, exactly as the UTF-8 keyed-text functions split them, also for characters outside the
// basic plane and for display texts longer than the keyed width.
TEST(InputTool, DropDownKeepsKeyedEntriesWholeAndTheirKeys) {
    QDialog window;
    InputTool list(InputTool::Kind::DropDown, &window);
    auto* combo = qobject_cast<QComboBox*>(list.Editor());
    const std::string longName = std::string("𠀀") + std::string(kKeyedTextWidth, 'x');
    const std::vector<std::pair<std::string, std::string>> keyed = {
        {"  客户化扩展 ", "850"}, {"𠀀𠀁 Group", "10500"}, {longName, "7"}, {"Empty key", ""}};
    for (const auto& [display, key] : keyed) {
        list.AddItem(ToQString(display), ToQString(key));      // display and key
        list.AddItem(ToQString(MakeKeyedText(display, key)));  // the whole entry
    }
    list.AddItem(u"Plain entry"_s);
    ASSERT_EQ(list.ListCount(), 9);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const auto& [display, key] = keyed[static_cast<std::size_t>(i / 2)];
        const std::string entry = MakeKeyedText(display, key);
        EXPECT_EQ(ToStdString(list.List(i)), entry);
        EXPECT_EQ(ToStdString(list.ListKey(i)), SplitKeyedText(entry, true));
        EXPECT_EQ(ToStdString(combo->itemText(i)), SplitKeyedText(entry, false));
    }
    EXPECT_EQ(list.List(8), u"Plain entry"_s);
    EXPECT_EQ(combo->itemText(8), u"Plain entry"_s);
    EXPECT_EQ(list.ListKey(8), QString());
    EXPECT_EQ(list.ListIndex(), -1);  // adding selects nothing
    list.Text(list.List(5));
    EXPECT_EQ(list.ListIndex(), 4);  // the first entry with that text: both forms make the same
}

// A long list is filled in one go and sized without its entries; a name too long for the closed
// list shows whole in the open list and as the tooltip, and typing and the arrows find entries.
TEST(InputTool, DropDownIsSizedWithoutItsEntriesAndShowsLongNamesWholeWhenOpen) {
    QDialog window;
    InputTool list(InputTool::Kind::DropDown, &window);
    auto* combo = qobject_cast<QComboBox*>(list.Editor());
    const QSize emptySize = combo->sizeHint();
    const QString longName = u"财务会计总账与报表合并"_s.repeated(3) + u"管理"_s;
    std::vector<std::pair<QString, QString>> groups;
    for (int i = 0; i < 300; ++i) {
        groups.emplace_back(u"Group %1"_s.arg(i), QString::number(i));
    }
    groups.emplace_back(longName, u"850"_s);
    groups.emplace_back(u"Mobile Platform"_s, u"10500"_s);
    list.AddItems(groups);
    ASSERT_EQ(list.ListCount(), 302);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.ListKey(300), u"850"_s);
    EXPECT_EQ(combo->sizeHint(), emptySize);

    EditorFixture::ShowActive(window);
    list.setFocus();
    QTest::keyClicks(combo, u"Mob"_s);
    EXPECT_EQ(list.ListIndex(), 301);
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(list.ListIndex(), 300);
    EXPECT_EQ(combo->toolTip(), longName);
    EXPECT_GT(combo->fontMetrics().horizontalAdvance(longName), combo->width());
    // A style that opens the list as wide as the closed one, as the desktop's may.
    const std::unique_ptr<QStyle> narrowPopups(QStyleFactory::create(u"Windows"_s));
    ASSERT_NE(narrowPopups, nullptr);
    combo->setStyle(narrowPopups.get());
    combo->showPopup();
    QAbstractItemView* open = combo->view();
    EXPECT_GE(open->viewport()->width(), open->fontMetrics().horizontalAdvance(longName));
    EXPECT_EQ(open->model()->index(300, 0).data(Qt::ToolTipRole).toString(), longName);
    combo->hidePopup();
    combo->setStyle(nullptr);

    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(combo->toolTip(), QString());
}

}  // namespace
}  // namespace quarn::subsysmgr
