#include <gtest/gtest.h>

#include <QApplication>
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

// What Show gives back when nothing was saved; a refused save leaves the dialog open with the
// input kept.
TEST_F(MgrUI, TheSubsystemEditorReturnsNothingAfterACancelButWhatItFailedToSave) {
    {
        ModalScript cancel([](QDialog& dialog) {
            dynamic_cast<frmSubSystem&>(dialog).inNameEN->Text(u"New Subsystem"_s);
            dynamic_cast<frmSubSystem&>(dialog).cmdCancel->click();
        });
        EXPECT_EQ(SubSystemMgrUI().Show(kStatusAdd, 850), nullptr);
        EXPECT_TRUE(cancel.Ran());
    }
    ModalScript script([](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSystem&>(dialog);
        form.inID->Value(8100);
        form.inName->Text(u"新子系统"_s);
        form.cmdSave->click();  // fails: no other names
        EXPECT_EQ(QApplication::activeModalWidget(), &form);
        EXPECT_EQ(form.inName->Text(), u"新子系统"_s);
        form.cmdCancel->click();
    });
    const SubSystemPtr unsaved = SubSystemMgrUI().Show(kStatusAdd, 850);
    ASSERT_NE(unsaved, nullptr);
    EXPECT_EQ(unsaved->Id(), 8100);
    EXPECT_EQ(suite.calls->CountOf("CreateSubSys"), 0u);
}

// The caller learns which group its editor added, and none after a cancel.
TEST_F(MgrUI, TheGroupEditorTellsTheGroupItAddedAndACancelSavesNothing) {
    SubSysGroupMgrUI editor;
    {
        ModalScript cancel([](QDialog& dialog) {
            dynamic_cast<frmSubSysGroup&>(dialog).inName->Text(u"新分组"_s);
            dynamic_cast<frmSubSysGroup&>(dialog).cmdCancel->click();
        });
        editor.Show(kStatusAdd);
        EXPECT_TRUE(cancel.Ran());
    }
    EXPECT_EQ(suite.calls->CountOf("CreateTopClass"), 0u);
    EXPECT_EQ(editor.AddedGroup(), nullptr);

    ModalScript save([](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSysGroup&>(dialog);
        form.inID->Value(860);
        form.inName->Text(u"新分组"_s);
        form.inNameCHT->Text(u"新分組"_s);
        form.inNameEN->Text(u"New Group"_s);
        form.cmdSave->click();
    });
    editor.Show(kStatusAdd);
    EXPECT_EQ(suite.calls->CountOf("CreateTopClass"), 1u);
    ASSERT_NE(editor.AddedGroup(), nullptr);
    EXPECT_EQ(editor.AddedGroup()->Id(), 860);
}

}  // namespace
}  // namespace quarn::subsysmgr
