#include <gtest/gtest.h>

#include <QPushButton>

#include "ui/EditorFixture.h"
#include "ui/InputTool.h"
#include "ui/SubSysGroupMgrUI.h"
#include "ui/SubSystemMgrUI.h"
#include "ui/frmSubSysGroup.h"
#include "ui/frmSubSystem.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;

using MgrUI = EditorFixture;

void NameSubSystem(frmSubSystem& form) {
    form.inID->Value(8100);
    form.inName->Text(u"新子系统"_s);
    form.inNameCHT->Text(u"新子系統"_s);
    form.inNameEN->Text(u"New Subsystem"_s);
}

TEST_F(MgrUI, TheGroupEditorReturnsAfterASaveOrACancel) {
    {
        ModalScript script([](QDialog& dialog) {
            auto& form = dynamic_cast<frmSubSysGroup&>(dialog);
            EXPECT_EQ(form.windowTitle(), u"[CHS]子系统分组信息管理(修改)"_s);
            form.inIndex->Value(99);
            form.cmdSave->click();
        });
        SubSysGroupMgrUI().Show(kStatusEdit, 851);
        EXPECT_TRUE(script.Ran());
    }
    EXPECT_EQ(suite.datasInfo->groups.back().id, 851);  // rewritten
    EXPECT_EQ(suite.datasInfo->groups.back().index, 99);

    suite.calls->Clear();
    ModalScript cancel([](QDialog& dialog) {
        dynamic_cast<frmSubSysGroup&>(dialog).inName->Text(u"新分组"_s);
        dynamic_cast<frmSubSysGroup&>(dialog).cmdCancel->click();
    });
    SubSysGroupMgrUI().Show(kStatusAdd);
    EXPECT_TRUE(cancel.Ran());
    EXPECT_EQ(suite.calls->CountOf("CreateTopClass"), 0u);
}

TEST_F(MgrUI, AnAddedSubsystemIsReturnedAfterASaveAndNullAfterACancel) {
    {
        ModalScript script([](QDialog& dialog) {
            auto& form = dynamic_cast<frmSubSystem&>(dialog);
            NameSubSystem(form);
            form.cmdSave->click();
        });
        const SubSystemPtr saved = SubSystemMgrUI().Show(kStatusAdd, 850);
        ASSERT_NE(saved, nullptr);
        EXPECT_EQ(saved->Id(), 8100);
        EXPECT_EQ(suite.datasInfo->subSystems.back().id, 8100);
    }
    ModalScript cancel([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(SubSystemMgrUI().Show(kStatusAdd, 850), nullptr);
}

TEST_F(MgrUI, AFailedAttemptThenCancelReturnsTheUnsavedSubsystem) {
    {
        ModalScript script([](QDialog& dialog) {
            auto& form = dynamic_cast<frmSubSystem&>(dialog);
            NameSubSystem(form);
            form.inNameEN->Text(QString());
            form.cmdSave->click();  // fails: no English name
            form.cmdCancel->click();
        });
        const SubSystemPtr unsaved = SubSystemMgrUI().Show(kStatusAdd, 850);
        ASSERT_NE(unsaved, nullptr);
        EXPECT_EQ(unsaved->Id(), 8100);
        EXPECT_EQ(suite.calls->CountOf("CreateSubSys"), 0u);
    }
    ModalScript edit([](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSystem&>(dialog);
        form.inNameEN->Text(u"Equipment Patrol"_s);  // a sibling's name
        form.inIndex->Value(9);
        form.cmdSave->click();
        form.cmdCancel->click();
    });
    const SubSystemPtr edited = SubSystemMgrUI().Show(kStatusEdit, 850, 8003);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->NameEN(), "Store Operations");  // the refused name was not taken
    EXPECT_EQ(edited->Id(), 8003);
    EXPECT_EQ(Prompts().back(), "[CHS]子系统名称(英文)已存在,请重新指定！");
}

}  // namespace
}  // namespace quarn::subsysmgr
