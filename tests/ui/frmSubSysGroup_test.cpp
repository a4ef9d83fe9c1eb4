#include "ui/frmSubSysGroup.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
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

    const fakes::GroupRow* Stored(int32_t id) const {
        return EditorFixture::Stored(suite.datasInfo->groups, id);
    }
};

std::vector<int> Checks(const SpreadGrid& grid) {
    std::vector<int> checks;
    for (int row = 1; row <= grid.MaxRows(); ++row) {
        checks.push_back(grid.CheckValue(row));
    }
    return checks;
}

TEST_F(GroupEditor, AddModeOffersTheRangeAndTheAccountTypesOfTheLanguage) {
    auto dialog = Open(kStatusAdd);
    EXPECT_EQ(dialog->windowTitle(), u"[CHS]子系统分组信息管理(新增)"_s);
    EXPECT_EQ(dialog->inID->Text(), u"800"_s);
    EXPECT_EQ(dialog->inID->Min(), 800);
    EXPECT_EQ(dialog->inID->Max(), 899);
    EXPECT_EQ(dialog->inVisible->Value() - dialog->InWeb->Value(), 1);
    EXPECT_TRUE(HasFocus(dialog->inID));

    SpreadGrid& grid = *dialog->vaSpread;
    ASSERT_EQ(grid.MaxRows(), 4);  // 7 and 8 never, 13 in simplified Chinese only
    EXPECT_EQ(grid.item(0, 1)->text(), u"工业企业"_s);
    EXPECT_EQ(SplitKeyedText(ToStdString(grid.CellText(4)), true), "13");
    EXPECT_EQ(Checks(grid), (std::vector{1, 0, 0, 0}));
    EXPECT_EQ((std::vector{grid.Row(), grid.Col(), grid.SelectedBlock().col}),
              (std::vector{1, 2, 2}));
    for (const char* context : {"Language=CHT;", "DB=demo;"}) {
        SCOPED_TRACE(context);
        suite.SetContext(context);
        suite.module->languageCache.clear();
        EXPECT_EQ(Open(kStatusAdd)->vaSpread->MaxRows(), 3);
    }

    auto brox = Open(kStatusAdd, 0, true);
    EXPECT_EQ(brox->inID->Text(), u"10,000"_s);
    EXPECT_EQ(brox->inID->Min(), 10000);
    EXPECT_EQ(brox->inID->Max(), 19999);
    EXPECT_EQ(Open(kStatusEdit, 850, true)->inID->Max(), 899);
}

TEST_F(GroupEditor, EditModeShowsTheGroupAndChecksExactlyItsAccountTypes) {
    auto dialog = Open(kStatusEdit, 850);
    EXPECT_EQ(dialog->windowTitle(), u"[CHS]子系统分组信息管理(修改)"_s);
    EXPECT_FALSE(dialog->inID->isEnabled());
    EXPECT_EQ(dialog->inID->Value(), 850);
    EXPECT_EQ(dialog->inName->Text() + dialog->inNameCHT->Text() + dialog->inNameEN->Text(),
              u"客户化扩展客戶化擴充Custom Extensions"_s);
    EXPECT_EQ(dialog->inIndex->Value(), 160);
    EXPECT_EQ(dialog->InWeb->Value(), 0);
    EXPECT_EQ(Checks(*dialog->vaSpread), (std::vector{0, 1, 1, 0}));  // ",2,3,"
    auto delivered = Open(kStatusEdit, 5);
    EXPECT_EQ(delivered->inID->Value(), 5);  // shown as it is, outside the offered range
    EXPECT_EQ(delivered->InWeb->Value(), 1);

    suite.datasInfo->accountTypes.clear();  // the group still shows, but cannot be saved
    auto without = Open(kStatusEdit, 850);
    EXPECT_EQ(without->inNameEN->Text(), u"Custom Extensions"_s);
    EXPECT_FALSE(without->inID->isEnabled());
    EXPECT_FALSE(without->Save());
    EXPECT_EQ(Prompts(), std::vector<std::string>{"[CHS]子系统分组应该至少属于一种账套类型！"});
    EXPECT_TRUE(HasFocus(without->vaSpread));
}

// The checks themselves are the input's; here each field's error reaches the field's widget.
TEST_F(GroupEditor, AnErrorMovesTheFocusToTheWidgetOfItsField) {
    const std::vector<std::tuple<const char*, std::function<void(frmSubSysGroup&)>, std::string,
                                 std::function<QWidget*(frmSubSysGroup&)>>>
        cases = {
            {"1007 new code out of range", [](auto& d) { d.inID->Value(950); },
             "[CHS]被新增修改的子系统分组的代码值范围应该是（800~899）！",
             [](auto& d) { return d.inID; }},
            {"1010", [](auto& d) { d.inName->Text(u"   "_s); }, "[CHS]必须录入分组名称！",
             [](auto& d) { return d.inName; }},
            {"1016 first of several",
             [](auto& d) {
                 d.vaSpread->CheckValue(1, 0);
                 d.inID->Value(850);
                 d.inName->Text(QString());
             },
             "[CHS]子系统分组应该至少属于一种账套类型！", [](auto& d) { return d.vaSpread; }},
            {"1024", [](auto& d) { d.inNameCHT->Text(u"產業套件"_s); },
             "[CHS]输入的子系统分组名称(繁体)已存在,请重新指定！",
             [](auto& d) { return d.inNameCHT; }},
            {"1034", [](auto& d) { d.inNameEN->Text(u"Mobile Platform"_s); },
             "[CHS]输入的子系统分组名称(英文)已存在,请重新指定！",
             [](auto& d) { return d.inNameEN; }},
            // A forbidden character leaves the focus where it is.
            {"1009", [](auto& d) { d.inName->Text(u"a%b_c"_s); },
             "[CHS]录入的分组名称中不允许包含字符 _ !", [](auto& d) { return d.inIndex; }},
        };
    for (const auto& [what, spoil, prompt, focus] : cases) {
        SCOPED_TRACE(what);
        suite.messageBox->shown.clear();
        auto dialog = OpenValidAddition();
        spoil(*dialog);
        dialog->inIndex->setFocus();
        EXPECT_FALSE(dialog->Save());
        EXPECT_EQ(Prompts(), std::vector<std::string>{prompt});
        EXPECT_TRUE(HasFocus(focus(*dialog)));
        EXPECT_EQ(Writes(), 0u);
        EXPECT_EQ(suite.messageBox->shown.at(0).flags, 48);
        EXPECT_EQ(suite.messageBox->shown.at(0).title, "[CHS]Larkin提示");
    }
}

// The editor on a real store saves what it shows; here: what it makes of the input first.
TEST_F(GroupEditor, AnAdditionIsCreatedWithTrimmedNamesOfAtMostFortyCharactersAndEveryCheckedType) {
    auto dialog = OpenValidAddition();
    dialog->inName->Text(u"  新分组 "_s);
    dialog->inNameEN->Text(u"名"_s.repeated(41));
    dialog->inIndex->Value(7);
    dialog->vaSpread->CheckValue(3, 1);
    ASSERT_TRUE(dialog->Save());
    const fakes::GroupRow* row = Stored(860);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->nameCHS, "新分组");
    EXPECT_EQ(row->nameEN, ToStdString(u"名"_s.repeated(40)));
    EXPECT_EQ(row->index, 7);
    EXPECT_EQ(row->acctType, ",1,3,");
}

TEST_F(GroupEditor, ACodeThatExistsIsRefusedAlsoOnARepeatedAttempt) {
    auto dialog = OpenValidAddition();
    dialog->inName->Text(QString());
    EXPECT_FALSE(dialog->Save());  // 860 is new; the name is missing

    dialog->inName->Text(u"新分组"_s);
    dialog->inID->Value(850);
    EXPECT_FALSE(dialog->Save());
    EXPECT_EQ(Prompts().back(), "[CHS]指定的分组代码已存在，请重新指定！");
    EXPECT_EQ(Writes(), 0u);

    dialog->inID->Value(860);
    suite.datasUpdate->failures.FailOnce("CreateTopClass");
    EXPECT_FALSE(dialog->Save());  // the store refused; 860 still does not exist
    EXPECT_TRUE(dialog->Save());
    EXPECT_EQ(Prompts().size(), 3u);
    EXPECT_NE(Stored(860), nullptr);
    EXPECT_EQ(Stored(850)->nameCHS, "客户化扩展");
}

TEST_F(GroupEditor, OutsideAddAndEditModeSaveDoesNothing) {
    auto other = Open(3);
    other->inName->Text(u"新分组"_s);
    EXPECT_FALSE(other->Save());
    EXPECT_EQ(other->objSubSysGroup, nullptr);
    EXPECT_TRUE(suite.calls->Calls().empty());
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
