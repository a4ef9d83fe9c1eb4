// The editors end to end on our own suite components over a real store: what the dialogs save
// is read back through a connection of the test's own.

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
    std::string Text(const std::string& sql) const {
        const Variant value = StoredValue(sql);
        return value.IsEmpty() ? "-" : value.ToText();
    }
    std::string SubSystemNameEN(int32_t id) const {
        return Text("SELECT FName_EN FROM t_DataFlowSubSystem WHERE FSubSysID = " +
                    std::to_string(id));
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
    const auto added = Stored(
        "SELECT FTopClassName_CHS, FTopClassName_CHT, FTopClassName_EN, FAcctType, FShowSysType "
        "FROM t_DataFlowTopClass WHERE FTopClassID = 860");
    ASSERT_EQ(added->LiveRows().size(), 1u);
    const uint32_t row = added->LiveRows().front();
    EXPECT_EQ(added->Value(row, 0).ToText(), "新分组");
    EXPECT_EQ(added->Value(row, 1).ToText(), "新分組");
    EXPECT_EQ(added->Value(row, 2).ToText(), "New Group");
    EXPECT_EQ(added->Value(row, 3).ToText(), "," + acctType + ",");
    EXPECT_EQ(added->Value(row, 4).ToInt32(), 3);

    {
        ModalScript script([](QDialog& dialog) {
            auto& form = dynamic_cast<frmSubSysGroup&>(dialog);
            EXPECT_EQ(form.inNameEN->Text(), u"Custom Extensions"_s);
            form.inNameEN->Text(u"Customer Extensions"_s);
            form.cmdSave->click();
        });
        SubSysGroupMgrUI().Show(kStatusEdit, 850);
        ASSERT_TRUE(script.Ran());
    }
    EXPECT_TRUE(messages->prompts.empty());
    EXPECT_EQ(Text("SELECT FTopClassName_EN FROM t_DataFlowTopClass WHERE FTopClassID = 850"),
              "Customer Extensions");
    EXPECT_EQ(Text("SELECT FTopClassName_CHS FROM t_DataFlowTopClass WHERE FTopClassID = 850"),
              "客户化扩展");
    EXPECT_EQ(StoredCount("t_DataFlowTopClass", "FTopClassID = 850"), 1);
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FTopClassID = 850"), 5);
}

TEST_P(EditorOnStore, TheSubsystemEditorAddsToAGroup) {
    ModalScript script([](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSystem&>(dialog);
        form.inID->Value(8100);
        form.inName->Text(u"新子系统"_s);
        form.inNameCHT->Text(u"新子系統"_s);
        form.inNameEN->Text(u"New Subsystem"_s);
        form.cmdSave->click();
    });
    const SubSystemPtr saved = SubSystemMgrUI().Show(kStatusAdd, 850);
    ASSERT_TRUE(script.Ran());
    ASSERT_NE(saved, nullptr);
    EXPECT_TRUE(messages->prompts.empty());
    EXPECT_EQ(
        StoredValue("SELECT FTopClassID FROM t_DataFlowSubSystem WHERE FSubSysID = 8100").ToInt32(),
        850);
    EXPECT_EQ(SubSystemNameEN(8100), "New Subsystem");
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FTopClassID = 850"), 6);
}

TEST_P(EditorOnStore, ASiblingsEnglishNameIsRefusedAndAFreshOneIsSaved) {
    {
        ModalScript script([](QDialog& dialog) {
            auto& form = dynamic_cast<frmSubSystem&>(dialog);
            form.vaSpread->CheckValue(1, 1);            // 8005 is stored without account types
            form.inNameEN->Text(u"Barcode Capture"_s);  // the name of 8004
            form.cmdSave->click();
            EXPECT_TRUE(form.isVisible());
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
    EXPECT_EQ(SubSystemNameEN(8005), "Supplier Evaluation");
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FName_EN = 'Barcode Capture'"), 1);

    messages->prompts.clear();
    std::string acctType;
    ModalScript script([&](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSystem&>(dialog);
        EXPECT_EQ(form.inNameEN->Text(), u"Supplier Evaluation"_s);
        form.vaSpread->CheckValue(1, 1);
        acctType = SplitKeyedText(ToStdString(form.vaSpread->CellText(1)), true);
        form.inNameEN->Text(u"Vendor Rating"_s);
        form.cmdSave->click();
    });
    const SubSystemPtr saved = SubSystemMgrUI().Show(kStatusEdit, 850, 8005);
    ASSERT_TRUE(script.Ran());
    ASSERT_NE(saved, nullptr);
    EXPECT_TRUE(messages->prompts.empty());
    EXPECT_EQ(SubSystemNameEN(8005), "Vendor Rating");
    EXPECT_EQ(Text("SELECT FName_CHS FROM t_DataFlowSubSystem WHERE FSubSysID = 8005"),
              "供应商评估");
    EXPECT_EQ(Text("SELECT FAcctType FROM t_DataFlowSubSystem WHERE FSubSysID = 8005"),
              "," + acctType + ",");
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FTopClassID = 850"), 5);
}

INSTANTIATE_TEST_SUITE_P(Stores, EditorOnStore, ::testing::Values(Backend::SQLite),
                         suite::BackendName);

}  // namespace
}  // namespace quarn::subsysmgr
