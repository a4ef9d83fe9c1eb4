#include "ui/frmSubSystem.h"

#include <gtest/gtest.h>

#include <QComboBox>
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

class SubSystemEditor : public EditorFixture {
  protected:
    std::unique_ptr<frmSubSystem> Open(int32_t status, int32_t groupId = 850,
                                       int32_t subSystemId = 0, bool brox = false) {
        auto dialog = std::make_unique<frmSubSystem>();
        dialog->objSubSysGroup = std::make_shared<SubSysGroup>();
        dialog->objSubSysGroup->Id(groupId);
        if (status == kStatusEdit) {
            dialog->objSubSystem = dialog->objSubSysGroup->GetSubSystem(subSystemId, false);
        }
        dialog->bIsBROXAddition = brox;
        dialog->lngStatus = status;
        dialog->Form_Load();
        ShowActive(*dialog);
        suite.calls->Clear();
        return dialog;
    }

    std::unique_ptr<frmSubSystem> OpenValidAddition(int32_t status = kStatusAdd) {
        auto dialog = Open(status);
        dialog->inID->Value(8100);
        dialog->inName->Text(u"新子系统"_s);
        dialog->inNameCHT->Text(u"新子系統"_s);
        dialog->inNameEN->Text(u"New Subsystem"_s);
        return dialog;
    }

    const fakes::SubSystemRow* Stored(int32_t id) const {
        return EditorFixture::Stored(suite.datasInfo->subSystems, id);
    }

    static QString ShownGroup(const frmSubSystem& dialog) {
        return qobject_cast<QComboBox*>(dialog.inGroup->Editor())->currentText();
    }
};

TEST_F(SubSystemEditor, AddModeListsTheGroupsInTheSessionLanguageWithTheOwnerSelected) {
    auto dialog = Open(kStatusAdd);
    EXPECT_EQ(dialog->windowTitle(), u"[CHS]子系统信息维护"_s);
    EXPECT_EQ(dialog->inID->Text(), u"8,000"_s);
    EXPECT_EQ(dialog->inID->Min(), 8000);
    EXPECT_EQ(dialog->inID->Max(), 8999);
    EXPECT_EQ(dialog->inGroup->ListCount(), 4);
    EXPECT_EQ(ShownGroup(*dialog), u"客户化扩展"_s);
    EXPECT_EQ(SplitKeyedText(ToStdString(dialog->inGroup->Text()), true), "850");
    EXPECT_EQ(dialog->vaSpread->MaxRows(), 4);
    EXPECT_TRUE(HasFocus(dialog->inID));

    EXPECT_EQ(Open(kStatusAdd, -1)->inGroup->ListIndex(), -1);
    auto brox = Open(kStatusAdd, 850, 0, true);
    EXPECT_EQ(brox->inID->Text(), u"100,000"_s);
    EXPECT_EQ(brox->inID->Max(), 199990);
    EXPECT_EQ(Open(kStatusEdit, 850, 8003, true)->inID->Max(), 8999);

    suite.SetContext("Language=EN;");
    suite.module->languageCache.clear();
    auto english = Open(kStatusAdd, 10500);
    EXPECT_EQ(ShownGroup(*english), u"Mobile Platform"_s);
    EXPECT_EQ(english->vaSpread->MaxRows(), 3);
}

TEST_F(SubSystemEditor, EditModeShowsTheSubsystemAndRemembersItsPreviousValues) {
    for (const bool withAccountTypes : {true, false}) {
        SCOPED_TRACE(withAccountTypes);
        if (!withAccountTypes) {
            suite.datasInfo->accountTypes.clear();
        }
        auto dialog = Open(kStatusEdit, 850, 8003);
        EXPECT_FALSE(dialog->inID->isEnabled());
        EXPECT_EQ(dialog->inID->Value(), 8003);
        EXPECT_EQ(dialog->inNumber->Text() + dialog->inNameCHT->Text(), u"s8003門市管理"_s);
        EXPECT_EQ(dialog->inIndex->Value(), 3);
        EXPECT_EQ(dialog->InWeb->Value(), 1);
        EXPECT_EQ(ShownGroup(*dialog), u"客户化扩展"_s);
        EXPECT_EQ(dialog->objSubSystem->SubSystemNameEN_Old(), "Store Operations");
        const SpreadGrid& grid = *dialog->vaSpread;
        if (withAccountTypes) {
            EXPECT_EQ((std::vector{grid.CheckValue(1), grid.CheckValue(2), grid.CheckValue(3)}),
                      (std::vector{0, 1, 1}));
        } else {
            EXPECT_EQ(grid.MaxRows(), 0);
        }
    }
}

// The checks themselves are the input's; here each field's error reaches the field's widget.
TEST_F(SubSystemEditor, AnErrorMovesTheFocusToTheWidgetOfItsField) {
    const std::vector<std::tuple<const char*, int32_t, std::function<void(frmSubSystem&)>,
                                 std::string, std::function<QWidget*(frmSubSystem&)>>>
        cases = {
            {"1001 taken, no add-mode check", 3, [](auto& d) { d.inID->Value(8001); },
             "[CHS]子系统代码已存在,请重新指定！", [](auto& d) { return d.inID; }},
            {"1009 forbidden in the code name, first of the list", kStatusAdd,
             [](auto& d) { d.inNumber->Text(u"%_'"_s); },
             "[CHS]录入的子系统代号中不允许包含字符 ' !", [](auto& d) { return d.inName; }},
            {"1015 first of several", kStatusAdd,
             [](auto& d) {
                 d.vaSpread->CheckValue(1, 0);
                 d.inID->Value(8001);
                 d.inNameEN->Text(QString());
             },
             "[CHS]子系统应该至少属于一种账套类型！", [](auto& d) { return d.vaSpread; }},
            {"1023", kStatusAdd, [](auto& d) { d.inNameCHT->Text(u"設備巡檢"_s); },
             "[CHS]子系统名称(繁体)已存在,请重新指定！", [](auto& d) { return d.inNameCHT; }},
            {"1029", kStatusAdd, [](auto& d) { d.inNameEN->Text(u" "_s); },
             "[CHS]必须录入子系统名称(英文)！", [](auto& d) { return d.inNameEN; }},
        };
    for (const auto& [what, status, spoil, prompt, focus] : cases) {
        SCOPED_TRACE(what);
        suite.messageBox->shown.clear();
        auto dialog = OpenValidAddition(status);
        spoil(*dialog);
        dialog->inIndex->setFocus();
        EXPECT_FALSE(dialog->Save());
        EXPECT_EQ(Prompts(), std::vector<std::string>{prompt});
        EXPECT_TRUE(HasFocus(focus(*dialog)));
        EXPECT_EQ(Writes(), 0u);
    }
}

// The editor on a real store saves what it shows; here: what it makes of the input first.
TEST_F(SubSystemEditor, AnAdditionStoresTrimmedNamesAndTheCodeNameAsTyped) {
    auto dialog = OpenValidAddition();
    dialog->inName->Text(u" 新子系统  "_s);
    dialog->inNumber->Text(u" s9 "_s);
    dialog->inGroup->ListIndex(2);  // 851
    dialog->vaSpread->CheckValue(3, 1);
    ASSERT_TRUE(dialog->Save());
    const fakes::SubSystemRow* row = Stored(8100);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->groupId, 851);
    EXPECT_EQ(row->nameCHS, "新子系统");
    EXPECT_EQ(row->subId, " s9 ");
    EXPECT_EQ(row->acctType, ",1,3,");
}

TEST_F(SubSystemEditor, AWriteTheStoreRefusesIsReportedAndTheDialogStaysOpen) {
    auto dialog = OpenValidAddition();
    suite.datasUpdate->failures.FailOnce("CreateSubSys");
    EXPECT_FALSE(dialog->Save());
    EXPECT_EQ(Prompts(), std::vector<std::string>{"[CHS]保存子系统失败，未写入任何数据！"});
    EXPECT_EQ(Stored(8100), nullptr);
    EXPECT_TRUE(dialog->Save());
    EXPECT_NE(Stored(8100), nullptr);
}

TEST_F(SubSystemEditor, F1ShowsItsHelpAndEnterWalks) {
    auto dialog = Open(kStatusAdd);
    QTest::keyClick(dialog->inID->Editor(), Qt::Key_F1);
    ASSERT_EQ(suite.calls->CountOf("ShowHELP"), 1u);
    EXPECT_EQ(suite.calls->CallsTo("ShowHELP")[0].arguments.at(0), Variant(580042));

    dialog->inGroup->setFocus();
    QTest::keyClick(dialog->inGroup->Editor(), Qt::Key_Return);
    EXPECT_TRUE(HasFocus(dialog->inVisible));
}

}  // namespace
}  // namespace quarn::subsysmgr
