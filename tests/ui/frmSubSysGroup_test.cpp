#include "ui/frmSubSysGroup.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <functional>
#include <memory>

#include "runtime/KeyedText.h"
#include "ui/EditorFixture.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/SpreadGrid.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;

class GroupEditor : public EditorFixture {
  protected:
    std::unique_ptr<frmSubSysGroup> Open(int32_t status, int32_t groupId = 0, bool brox = false) {
        auto dialog = std::make_unique<frmSubSysGroup>();
        if (status == kStatusEdit) {
            dialog->objSubSysGroup = std::make_shared<SubSysGroup>();
            dialog->objSubSysGroup->initial(groupId);
        }
        dialog->bIsBroxAdditon = brox;
        dialog->lngStatus = status;
        dialog->Form_Load();
        ShowActive(*dialog);
        suite.calls->Clear();
        return dialog;
    }

    // An add dialog whose input saves as it is.
    std::unique_ptr<frmSubSysGroup> OpenValidAddition() {
        auto dialog = Open(kStatusAdd);
        dialog->inID->Value(860);
        dialog->inName->Text(u"新分组"_s);
        dialog->inNameCHT->Text(u"新分組"_s);
        dialog->inNameEN->Text(u"New Group"_s);
        return dialog;
    }
};

std::vector<int> Checks(const SpreadGrid& grid) {
    std::vector<int> checks;
    for (int row = 1; row <= grid.MaxRows(); ++row) {
        checks.push_back(grid.CheckValue(row));
    }
    return checks;
}

TEST_F(GroupEditor, EachModeShowsItsCaptionCodeRangeAndChoice) {
    auto dialog = Open(kStatusAdd);
    EXPECT_EQ(dialog->windowTitle(), u"[CHS]子系统分组信息管理(新增)"_s);
    EXPECT_EQ(dialog->inID->Text(), u"800"_s);
    EXPECT_EQ((std::vector{dialog->inID->Min(), dialog->inID->Max()}), (std::vector{800., 899.}));
    EXPECT_TRUE(HasFocus(dialog->inID));
    SpreadGrid& grid = *dialog->vaSpread;
    ASSERT_EQ(grid.MaxRows(), 4);
    EXPECT_EQ(grid.item(0, 1)->text(), u"工业企业"_s);
    EXPECT_EQ(SplitKeyedText(ToStdString(grid.CellText(4)), true), "13");
    EXPECT_EQ(Checks(grid), (std::vector{1, 0, 0, 0}));
    EXPECT_EQ((std::vector{grid.Row(), grid.Col(), grid.SelectedBlock().col}),
              (std::vector{1, 2, 2}));

    auto brox = Open(kStatusAdd, 0, true);
    EXPECT_EQ(brox->inID->Text(), u"10000"_s);
    EXPECT_EQ((std::vector{brox->inID->Min(), brox->inID->Max()}), (std::vector{10000., 19999.}));
    EXPECT_EQ(Open(kStatusEdit, 850, true)->inID->Max(), 899);

    auto edit = Open(kStatusEdit, 850);
    EXPECT_EQ(edit->windowTitle(), u"[CHS]子系统分组信息管理(修改)"_s);
    EXPECT_FALSE(edit->inID->isEnabled());
    EXPECT_EQ(edit->inID->Value(), 850);
    EXPECT_EQ(edit->inName->Text() + edit->inNameCHT->Text() + edit->inNameEN->Text(),
              u"客户化扩展客戶化擴充Custom Extensions"_s);
    EXPECT_EQ(edit->inIndex->Value(), 160);
    EXPECT_EQ(edit->InWeb->Value(), 0);
    EXPECT_EQ(Checks(*edit->vaSpread), (std::vector{0, 1, 1, 0}));  // ",2,3,"
    auto delivered = Open(kStatusEdit, 5);
    EXPECT_EQ(delivered->inID->Value(), 5);  // shown as it is, outside the offered range
    EXPECT_EQ(delivered->InWeb->Value(), 1);

    suite.datasInfo->accountTypes.clear();  // the group still shows
    EXPECT_EQ(Open(kStatusEdit, 850)->inNameEN->Text(), u"Custom Extensions"_s);

    auto other = Open(3);  // neither adds nor edits: saves nothing
    other->inName->Text(u"新分组"_s);
    EXPECT_FALSE(other->Save());
    EXPECT_EQ(other->objSubSysGroup, nullptr);
    EXPECT_TRUE(suite.calls->Calls().empty());
}

// The checks themselves are the input's; here the failure's message box with its number, and
// the focus on the widget of the field it names.
TEST_F(GroupEditor, AFailureIsShownAndMovesTheFocusToItsFieldsWidget) {
    using Widget = std::function<QWidget*(frmSubSysGroup&)>;
    const std::vector<std::tuple<const char*, std::function<void(frmSubSysGroup&)>, Widget>> cases =
        {
            {"code", [](auto& d) { d.inID->Value(950); }, [](auto& d) { return d.inID; }},
            {"name", [](auto& d) { d.inName->Text(u"   "_s); }, [](auto& d) { return d.inName; }},
            {"account types", [](auto& d) { d.vaSpread->CheckValue(1, 0); },
             [](auto& d) { return d.vaSpread; }},
            {"traditional name", [](auto& d) { d.inNameCHT->Text(u"產業套件"_s); },
             [](auto& d) { return d.inNameCHT; }},
            {"English name", [](auto& d) { d.inNameEN->Text(u"Mobile Platform"_s); },
             [](auto& d) { return d.inNameEN; }},
            {"forbidden character: the focus stays", [](auto& d) { d.inName->Text(u"a%b"_s); },
             [](auto& d) { return d.inIndex; }},
        };
    for (const auto& [what, spoil, focus] : cases) {
        SCOPED_TRACE(what);
        suite.messageBox->shown.clear();
        auto dialog = OpenValidAddition();
        spoil(*dialog);
        dialog->inIndex->setFocus();
        EXPECT_FALSE(dialog->Save());
        EXPECT_EQ(suite.messageBox->shown.size(), 1u);
        EXPECT_TRUE(HasFocus(focus(*dialog)));
        EXPECT_EQ(Writes(), 0u);
    }
    const auto& shown = suite.messageBox->shown.at(0);
    EXPECT_EQ(shown.prompt, "[CHS]录入的分组名称中不允许包含字符 % !\n([CHS]错误 1009)");
    EXPECT_EQ(shown.flags, 48);
    EXPECT_EQ(shown.title, "[CHS]Larkin提示");
}

// What the dialog makes of its widgets: names held to forty characters, every ticked type.
TEST_F(GroupEditor, AnAdditionStoresWhatTheWidgetsHold) {
    auto dialog = OpenValidAddition();
    dialog->inNameEN->Text(u"名"_s.repeated(41));
    dialog->inIndex->Value(7);
    dialog->InWeb->Value(1);
    dialog->vaSpread->CheckValue(3, 1);
    ASSERT_TRUE(dialog->Save());
    const fakes::GroupRow* row = Stored(suite.datasInfo->groups, 860);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->nameEN, ToStdString(u"名"_s.repeated(40)));
    EXPECT_EQ((std::vector{row->index, row->showSysType}), (std::vector{7, 3}));  // shown, web
    EXPECT_EQ(row->acctType, ",1,3,");
}

// Counts the F1 presses that key preview lets through to the field.
class KeySpy : public QObject {
  public:
    int f1Presses = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        f1Presses += event->type() == QEvent::KeyPress &&
                     static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1;
        return false;
    }
};

TEST_F(GroupEditor, F1WithoutAModifierShowsHelpAndIsConsumedEnterWalksAndEscCancels) {
    auto dialog = std::make_unique<frmSubSysGroup>();
    KeySpy spy;
    dialog->inName->Editor()->installEventFilter(&spy);  // runs after the dialog's preview
    dialog->lngStatus = kStatusAdd;
    dialog->Form_Load();
    ShowActive(*dialog);
    QTest::keyClick(dialog->inName->Editor(), Qt::Key_F1);
    ASSERT_EQ(suite.calls->CountOf("ShowHELP"), 1u);
    EXPECT_EQ(suite.calls->CallsTo("ShowHELP")[0].arguments.at(0), Variant(580038));
    for (const auto modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
        QTest::keyClick(dialog->inName->Editor(), Qt::Key_F1, modifier);
    }
    EXPECT_EQ(suite.calls->CountOf("ShowHELP"), 1u);
    EXPECT_EQ(spy.f1Presses, 3);  // only those with a modifier

    QTest::keyClick(dialog->inID->Editor(), Qt::Key_Return);
    EXPECT_TRUE(HasFocus(dialog->inIndex));
    dialog->inName->setFocus();
    QTest::keyClick(dialog->inName->Editor(), Qt::Key_Enter);
    EXPECT_TRUE(HasFocus(dialog->inNameCHT));
    QTest::keyClick(dialog->inNameCHT->Editor(), Qt::Key_Return);
    EXPECT_TRUE(HasFocus(dialog->inNameCHT));  // no handler there
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(suite.calls->CountOf("CreateTopClass"), 0u);
    QTest::keyClick(dialog->inNameCHT->Editor(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace quarn::subsysmgr
