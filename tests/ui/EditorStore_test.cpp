// The editors end to end on our own suite components over a real store: what the dialogs save
// is read back through a connection of the test's own.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "runtime/KeyedText.h"
#include "store/StoreFixture.h"
#include "ui/EditorFixture.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/SpreadGrid.h"
#include "ui/SubSysGroupMgrUI.h"
#include "ui/SubSystemMgrUI.h"
#include "ui/frmSubSysGroup.h"
#include "ui/frmSubSystem.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;
using suite::Backend;

class EditorOnStore : public suite::StoreTest {
  protected:
    // The columns of one stored row, joined by "|".
    std::string Row(const std::string& columns, const std::string& table,
                    const std::string& condition) const {
        const auto rows = Stored("SELECT " + columns + " FROM " + table + " WHERE " + condition);
        if (rows->LiveRows().size() != 1) {
            return std::to_string(rows->LiveRows().size()) + " rows";
        }
        std::string text;
        for (std::size_t column = 0; column < rows->ColumnCount(); ++column) {
            text += (column ? "|" : "") + rows->Value(rows->LiveRows().front(), column).ToText();
        }
        return text;
    }
};

TEST_P(EditorOnStore, TheGroupEditorCreatesAGroupAndEditsOneWithoutLosingItsSubsystems) {
    std::string acctType;
    {
        ModalScript script([&](QDialog& dialog) {
            auto& form = dynamic_cast<frmSubSysGroup&>(dialog);
            form.inID->Value(860);
            form.inName->Text(u"新分组"_s);
            form.inNameCHT->Text(u"新分組"_s);
            form.inNameEN->Text(u"New Group"_s);
            form.InWeb->Value(1);
            ASSERT_GE(form.vaSpread->MaxRows(), 2);
            form.vaSpread->CheckValue(1, 0);
            form.vaSpread->CheckValue(2, 1);
            acctType = SplitKeyedText(ToStdString(form.vaSpread->CellText(2)), true);
            form.cmdSave->click();
        });
        SubSysGroupMgrUI().Show(kStatusAdd);
        ASSERT_TRUE(script.Ran());
    }
    EXPECT_TRUE(messages->prompts.empty());
    EXPECT_EQ(Row("FTopClassName_CHS, FTopClassName_CHT, FTopClassName_EN, FAcctType, FShowSysType",
                  "t_DataFlowTopClass", "FTopClassID = 860"),
              "新分组|新分組|New Group|," + acctType + ",|3");

    ModalScript script([](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSysGroup&>(dialog);
        EXPECT_EQ(form.inNameEN->Text(), u"Custom Extensions"_s);
        form.inNameEN->Text(u"Customer Extensions"_s);
        form.cmdSave->click();
    });
    SubSysGroupMgrUI().Show(kStatusEdit, 850);
    ASSERT_TRUE(script.Ran());
    EXPECT_TRUE(messages->prompts.empty());
    EXPECT_EQ(Row("FTopClassName_CHS, FTopClassName_EN", "t_DataFlowTopClass", "FTopClassID = 850"),
              "客户化扩展|Customer Extensions");
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FTopClassID = 850"), 5);
}

TEST_P(EditorOnStore, TheSubsystemEditorRefusesASiblingsEnglishNameAndAddsToAGroup) {
    {
        ModalScript script([](QDialog& dialog) {
            auto& form = dynamic_cast<frmSubSystem&>(dialog);
            EXPECT_EQ(form.inNameEN->Text(), u"Supplier Evaluation"_s);
            form.vaSpread->CheckValue(1, 1);            // 8005 is stored without account types
            form.inNameEN->Text(u"Barcode Capture"_s);  // the name of 8004
            form.cmdSave->click();
            EXPECT_EQ(QApplication::activeModalWidget(), &form);
            EXPECT_EQ(form.inNameEN->Text(), u"Barcode Capture"_s);
            form.cmdCancel->click();
        });
        SubSystemMgrUI().Show(kStatusEdit, 850, 8005);
        ASSERT_TRUE(script.Ran());
    }
    EXPECT_EQ(messages->prompts,
              std::vector<std::string>{
                  "The subsystem name (English) already exists. Please enter another one."});
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FName_EN = 'Barcode Capture'"), 1);

    messages->prompts.clear();
    std::string acctType;
    ModalScript script([&](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSystem&>(dialog);
        form.inID->Value(8100);
        form.inName->Text(u"新子系统"_s);
        form.inNameCHT->Text(u"新子系統"_s);
        form.inNameEN->Text(u"New Subsystem"_s);
        acctType = SplitKeyedText(ToStdString(form.vaSpread->CellText(1)), true);
        form.cmdSave->click();
    });
    ASSERT_NE(SubSystemMgrUI().Show(kStatusAdd, 850), nullptr);
    ASSERT_TRUE(script.Ran());
    EXPECT_TRUE(messages->prompts.empty());
    EXPECT_EQ(Row("FTopClassID, FName_CHS, FName_EN, FAcctType", "t_DataFlowSubSystem",
                  "FSubSysID = 8100"),
              "850|新子系统|New Subsystem|," + acctType + ",");
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FTopClassID = 850"), 6);
}

TEST_P(EditorOnStore, AfterAnotherUsersChangeTheEditorKeepsTheInputOrShowsTheStoredItem) {
    constexpr int32_t kNo = 7;
    const std::string changedElsewhere = "Someone else changed or deleted the subsystem";
    ModalScript script([&](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSystem&>(dialog);
        form.inNameEN->Text(u"Mine"_s);
        Administer("UPDATE t_DataFlowSubSystem SET FName_EN = 'Theirs' WHERE FSubSysID = 8002");

        messages->answers = {kMessageBoxResultOk, kNo};
        form.cmdSave->click();
        ASSERT_EQ(messages->prompts.size(), 2u);
        EXPECT_THAT(messages->prompts[0], ::testing::HasSubstr(changedElsewhere));
        EXPECT_EQ(form.inNameEN->Text(), u"Mine"_s);

        messages->answers = {kMessageBoxResultOk, kMessageBoxResultYes};
        form.cmdSave->click();
        EXPECT_EQ(form.inNameEN->Text(), u"Theirs"_s);
        form.inIndex->Value(7);
        form.cmdSave->click();  // over the change it now shows
    });
    ASSERT_NE(SubSystemMgrUI().Show(kStatusEdit, 850, 8002), nullptr);
    ASSERT_TRUE(script.Ran());
    EXPECT_EQ(messages->prompts.size(), 4u) << ::testing::PrintToString(messages->prompts);
    EXPECT_EQ(Row("FName_EN, FIndex", "t_DataFlowSubSystem", "FSubSysID = 8002"), "Theirs|7");

    // A subsystem deleted meanwhile cannot be shown again: the input stays.
    messages->prompts.clear();
    ModalScript gone([&](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSystem&>(dialog);
        form.inNameEN->Text(u"Mine"_s);
        Administer("DELETE FROM t_DataFlowSubSystem WHERE FSubSysID = 8003");
        messages->answers = {kMessageBoxResultOk, kMessageBoxResultYes};
        form.cmdSave->click();
        EXPECT_EQ(form.inNameEN->Text(), u"Mine"_s);
        form.cmdCancel->click();
    });
    SubSystemMgrUI().Show(kStatusEdit, 850, 8003);
    ASSERT_TRUE(gone.Ran());
    ASSERT_EQ(messages->prompts.size(), 3u);
    EXPECT_THAT(messages->prompts[2], ::testing::HasSubstr("deleted"));

    // The group editor offers the same.
    ModalScript group([&](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSysGroup&>(dialog);
        form.inNameEN->Text(u"Mine"_s);
        Administer(
            "UPDATE t_DataFlowTopClass SET FTopClassName_EN = 'Theirs' WHERE FTopClassID = 851");
        messages->answers = {kMessageBoxResultOk, kMessageBoxResultYes};
        form.cmdSave->click();
        EXPECT_EQ(form.inNameEN->Text(), u"Theirs"_s);
        form.inIndex->Value(9);
        form.cmdSave->click();
    });
    SubSysGroupMgrUI().Show(kStatusEdit, 851);
    ASSERT_TRUE(group.Ran());
    EXPECT_EQ(Row("FTopClassName_EN, FIndex", "t_DataFlowTopClass", "FTopClassID = 851"),
              "Theirs|9");
}

INSTANTIATE_TEST_SUITE_P(Stores, EditorOnStore, suite::AllBackends(), suite::BackendName);

}  // namespace
}  // namespace quarn::subsysmgr
