// The editors end to end on our own suite components over a real store, where another user can
// change an item while a dialog shows it: what the dialogs save is read back through a
// connection of the test's own.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPushButton>

#include "store/StoreFixture.h"
#include "ui/EditorFixture.h"
#include "ui/InputTool.h"
#include "ui/SubSysGroupMgrUI.h"
#include "ui/SubSystemMgrUI.h"
#include "ui/frmSubSysGroup.h"
#include "ui/frmSubSystem.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;

using EditorOnStore = suite::StoreTest;

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
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem",
                          "FSubSysID = 8002 AND FName_EN = 'Theirs' AND FIndex = 7"),
              1);

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
    EXPECT_EQ(StoredCount("t_DataFlowTopClass",
                          "FTopClassID = 851 AND FTopClassName_EN = 'Theirs' AND FIndex = 9"),
              1);
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem", "FTopClassID = 851"), 1);  // rewritten, kept
}

// A UTF8 PostgreSQL database refuses such bytes itself; SQLite stores whatever it is given.
TEST_P(EditorOnStore, ANameAnotherProgramLeftAsInvalidUtf8IsNeverReplacedBehindTheUsersBack) {
    if (GetParam() != suite::Backend::SQLite) {
        GTEST_SKIP() << "only SQLite stores text that is not UTF-8";
    }
    const std::string notText = "The subsystem name is not valid text.";
    Administer(
        "UPDATE t_DataFlowSubSystem SET FName_CHS = CAST(X'E8FF41' AS TEXT) WHERE FSubSysID = "
        "8002");
    ModalScript script([&](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSystem&>(dialog);
        EXPECT_EQ(form.inNameEN->Text(), u"Equipment Patrol Inspection"_s);  // the item was found
        form.inIndex->Value(7);
        messages->answers = {kMessageBoxResultOk};
        form.cmdSave->click();  // the untouched name is refused, not written as U+FFFD
        ASSERT_EQ(messages->prompts.size(), 1u);
        EXPECT_THAT(messages->prompts[0], ::testing::HasSubstr(notText));

        form.inName->Text(u"设备点检"_s);
        form.cmdSave->click();
    });
    ASSERT_NE(SubSystemMgrUI().Show(kStatusEdit, 850, 8002), nullptr);
    ASSERT_TRUE(script.Ran());
    EXPECT_EQ(messages->prompts.size(), 1u) << ::testing::PrintToString(messages->prompts);
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem",
                          "FSubSysID = 8002 AND FName_CHS = '设备点检' "
                          "AND FName_EN = 'Equipment Patrol Inspection' AND "
                          "FIndex = 7"),
              1);

    // The group editor keeps a broken name the user did not touch as well.
    messages->prompts.clear();
    Administer(
        "UPDATE t_DataFlowTopClass SET FTopClassName_EN = CAST(X'41FF' AS TEXT) "
        "WHERE FTopClassID = 851");
    ModalScript group([&](QDialog& dialog) {
        auto& form = dynamic_cast<frmSubSysGroup&>(dialog);
        form.inIndex->Value(9);
        messages->answers = {kMessageBoxResultOk};
        form.cmdSave->click();
        form.cmdCancel->click();
    });
    SubSysGroupMgrUI().Show(kStatusEdit, 851);
    ASSERT_TRUE(group.Ran());
    ASSERT_EQ(messages->prompts.size(), 1u);
    EXPECT_THAT(messages->prompts[0], ::testing::HasSubstr("not valid text"));
    EXPECT_EQ(StoredCount("t_DataFlowTopClass",
                          "FTopClassID = 851 AND FTopClassName_EN = CAST(X'41FF' AS TEXT) AND "
                          "FIndex <> 9"),
              1);
}

INSTANTIATE_TEST_SUITE_P(Stores, EditorOnStore, suite::AllBackends(), suite::BackendName);

}  // namespace
}  // namespace quarn::subsysmgr
