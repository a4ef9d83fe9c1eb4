#include "ui/InputTool.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include "ui/EditorFixture.h"
#include "ui/QtText.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;

TEST(InputTool, NumberBoxShowsSeparatorsKeepsProgramValuesAndPullsTypedOnesIntoRange) {
    QDialog window;
    InputTool number(InputTool::Kind::Number, &window);
    InputTool next(InputTool::Kind::Text, &window);
    number.Min(800);
    number.Max(899);
    number.Value(8000);
    EXPECT_EQ(number.Text(), u"8,000"_s);
    EXPECT_EQ(number.Value(), 8000);  // outside the range, but set by the program
    number.Text(u"10000"_s);
    EXPECT_EQ(number.Text(), u"10,000"_s);

    EditorFixture::ShowActive(window);
    number.setFocus();
    auto* edit = qobject_cast<QLineEdit*>(number.Editor());
    edit->selectAll();
    QTest::keyClicks(edit, u"1,2x50"_s);  // the letter is refused
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

}  // namespace
}  // namespace quarn::subsysmgr
