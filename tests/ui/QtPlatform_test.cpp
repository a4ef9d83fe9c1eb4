#include "ui/QtPlatform.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "host/ProgIds.h"
#include "runtime/HelpKey.h"
#include "runtime/MessageBox.h"
#include "ui/ChmHelpWindow.h"
#include "ui/EditorFixture.h"
#include "ui/frmSubSystem.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;

class QtPlatform : public EditorFixture {
  protected:
    QtPlatform() { InstallQtPlatform(*suite.module, *suite.registry, QUARN_HELP_DIR); }
};

TEST_F(QtPlatform, TheMessageBoxShowsAWarningWithOneOkButtonAndTheLocalizedTitle) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        buttons = box->buttons().size();
        title = box->windowTitle();
        box->buttons().at(0)->click();
    });
    EXPECT_EQ(ShowMessage(*suite.module, "必须录入分组名称！", kMessageBoxWarning), 1);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(title, u"[CHS]Larkin提示"_s);
}

TEST_F(QtPlatform, F1ShowsTheTopicsPageInTheSessionLanguageBesideTheDialog) {
    suite.SetContext("Language=CHT;");
    frmSubSystem dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    ShowActive(dialog);
    ASSERT_TRUE(HandleHelpKey(*suite.module, kHelpKeyCode, kSubSystemEditorHelpTopic));
    const auto help = std::dynamic_pointer_cast<ChmHelpWindow>(suite.module->help);
    ASSERT_NE(help, nullptr);
    QTextBrowser* window = help->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), &dialog);  // not blocked by the modal dialog
    EXPECT_TRUE(window->source().path().endsWith(u"/CHT/580042.html"_s));
    EXPECT_FALSE(window->documentTitle().isEmpty());
    EXPECT_EQ(window->windowTitle(), window->documentTitle());

    for (const char* language : {"CHS", "CHT", "EN"}) {  // every page is there
        EXPECT_FALSE(help->PageFor(kGroupEditorHelpTopic, language).empty()) << language;
    }
    EXPECT_EQ(help->PageFor(kSubSystemEditorHelpTopic, "JP"),
              help->PageFor(kSubSystemEditorHelpTopic, "CHS"));
    EXPECT_TRUE(help->PageFor(123, "CHS").empty());
}

}  // namespace
}  // namespace quarn::subsysmgr
