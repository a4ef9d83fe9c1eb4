#include "ui/frmSubSystem.h"

#include <gtest/gtest.h>

#include <QComboBox>
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

    std::unique_ptr<frmSubSystem> OpenValidAddition() {
        auto dialog = Open(kStatusAdd);
        dialog->inID->Value(8100);
        dialog->inName->Text(u"新子系统"_s);
        dialog->inNameCHT->Text(u"新子系統"_s);
        dialog->inNameEN->Text(u"New Subsystem"_s);
        return dialog;
    }

    static QString ShownGroup(const frmSubSystem& dialog) {
        return qobject_cast<QComboBox*>(dialog.inGroup->Editor())->currentText();
    }
};

TEST_F(SubSystemEditor, AddModeListsTheGroupsInTheSessionLanguageWithTheOwnerSelected) {
    auto dialog = Open(kStatusAdd);
    EXPECT_EQ(dialog->windowTitle(), u"[CHS]子系统信息维护"_s);
    EXPECT_EQ(dialog->inID->Text(), u"8000"_s);
    EXPECT_EQ((std::vector{dialog->inID->Min(), dialog->inID->Max()}), (std::vector{8000., 8999.}));
    EXPECT_EQ(dialog->inGroup->ListCount(), 4);
    EXPECT_EQ(ShownGroup(*dialog), u"客户化扩展"_s);
    EXPECT_EQ(SplitKeyedText(ToStdString(dialog->inGroup->Text()), true), "850");
    EXPECT_TRUE(HasFocus(dialog->inID));

    EXPECT_EQ(Open(kStatusAdd, -1)->inGroup->ListIndex(), -1);
    auto brox = Open(kStatusAdd, 850, 0, true);
    EXPECT_EQ(brox->inID->Text(), u"100000"_s);
    EXPECT_EQ(brox->inID->Max(), 199990);
    EXPECT_EQ(Open(kStatusEdit, 850, 8003, true)->inID->Max(), 8999);

    suite.SetContext("Language=EN;");
    suite.module->languageCache.clear();
    EXPECT_EQ(ShownGroup(*Open(kStatusAdd, 10500)), u"Mobile Platform"_s);
}

TEST_F(SubSystemEditor, EditModeShowsTheSubsystemAlsoWithoutAccountTypes) {
    auto dialog = Open(kStatusEdit, 850, 8003);
    EXPECT_FALSE(dialog->inID->isEnabled());
    EXPECT_EQ(dialog->inID->Value(), 8003);
    EXPECT_EQ(dialog->inNumber->Text() + dialog->inNameCHT->Text(), u"s8003門市管理"_s);
    EXPECT_EQ(dialog->inIndex->Value(), 3);
    EXPECT_EQ(dialog->InWeb->Value(), 1);
    EXPECT_EQ(ShownGroup(*dialog), u"客户化扩展"_s);
    const SpreadGrid& grid = *dialog->vaSpread;
    EXPECT_EQ((std::vector{grid.CheckValue(1), grid.CheckValue(2), grid.CheckValue(3)}),
              (std::vector{0, 1, 1}));

    suite.datasInfo->accountTypes.clear();
    auto without = Open(kStatusEdit, 850, 8003);
    EXPECT_EQ(without->vaSpread->MaxRows(), 0);
    EXPECT_EQ(without->inNameCHT->Text(), u"門市管理"_s);
    EXPECT_EQ(ShownGroup(*without), u"客户化扩展"_s);
}

// The checks themselves are the input's; here each field's error reaches the field's widget.
TEST_F(SubSystemEditor, AFailureMovesTheFocusToItsFieldsWidget) {
    using Widget = std::function<QWidget*(frmSubSystem&)>;
    const std::vector<std::tuple<const char*, std::function<void(frmSubSystem&)>, Widget>> cases = {
        {"code", [](auto& d) { d.inID->Value(8001); }, [](auto& d) { return d.inID; }},
        {"short code", [](auto& d) { d.inNumber->Text(u"a\tb"_s); },
         [](auto& d) { return d.inNumber; }},
        {"forbidden in the short code", [](auto& d) { d.inNumber->Text(u"a_b"_s); },
         [](auto& d) { return d.inName; }},
        {"account types", [](auto& d) { d.vaSpread->CheckValue(1, 0); },
         [](auto& d) { return d.vaSpread; }},
        {"traditional name", [](auto& d) { d.inNameCHT->Text(u"設備巡檢"_s); },
         [](auto& d) { return d.inNameCHT; }},
        {"English name", [](auto& d) { d.inNameEN->Text(u" "_s); },
         [](auto& d) { return d.inNameEN; }},
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
}

// What the dialog makes of its widgets that the group editor does not have.
TEST_F(SubSystemEditor, AnAdditionStoresTheChosenGroupAndTheCodeNameAsTyped) {
    auto dialog = OpenValidAddition();
    dialog->inNumber->Text(u" s9 "_s);
    dialog->inGroup->ListIndex(2);  // 851
    ASSERT_TRUE(dialog->Save());
    const fakes::SubSystemRow* row = Stored(suite.datasInfo->subSystems, 8100);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->groupId, 851);
    EXPECT_EQ(row->subId, " s9 ");
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
