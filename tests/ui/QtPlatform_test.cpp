#include "ui/QtPlatform.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QTimer>

#include "host/ProgIds.h"
#include "runtime/HelpKey.h"
#include "runtime/MessageBox.h"
#include "ui/CaptionText.h"
#include "ui/ChmHelpWindow.h"
#include "ui/EditorFixture.h"
#include "ui/QtTranslations.h"
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

// The texts of the standard buttons are Qt's own, from its catalog of the session language.
TEST_F(QtPlatform, StandardButtonsReadInTheSessionLanguage) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalog : {"qtbase_zh_CN.qm", "qtbase_zh_TW.qm"}) {
        if (!QFileInfo::exists(folder + u'/' + QLatin1String(catalog))) {
            GTEST_SKIP() << catalog << " is not in " << folder.toStdString()
                         << " (package qt6-translations-l10n)";
        }
    }
    const auto buttonsShown = [this] {
        QStringList texts;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (const QMessageBox::StandardButton button : {QMessageBox::Yes, QMessageBox::No}) {
                texts.push_back(WithoutMnemonic(box->button(button)->text()));
            }
            box->button(QMessageBox::No)->click();
        });
        EXPECT_NE(ShowMessage(*suite.module, "是否载入其他用户保存的内容？",
                              kMessageBoxYesNo | kMessageBoxQuestion),
                  kMessageBoxResultYes);
        return texts;
    };
    EXPECT_EQ(buttonsShown(), (QStringList{u"是"_s, u"否"_s}));  // the fixture's session: CHS

    // A session that changes its language installs Qt's platform again.
    for (const auto& [language, texts] : {std::pair{"EN", QStringList{u"Yes"_s, u"No"_s}},
                                          {"CHT", QStringList{u"是"_s, u"否"_s}}}) {
        SCOPED_TRACE(language);
        suite.SetContext(std::string("Language=") + language + ";");
        InstallQtPlatform(*suite.module, *suite.registry, QUARN_HELP_DIR);
        EXPECT_EQ(buttonsShown(), texts);
    }
    EXPECT_TRUE(InstallQtTranslations("CHT"));  // installed already: nothing to load
    EXPECT_FALSE(QtCatalogFor("CHT").isEmpty());
    EXPECT_TRUE(QtCatalogFor("JP").isEmpty());
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
    EXPECT_EQ(window->window()->parentWidget(), &dialog);  // not blocked by the modal dialog
    EXPECT_TRUE(window->source().path().endsWith(u"/CHT/580042.html"_s));
    EXPECT_FALSE(window->documentTitle().isEmpty());
    EXPECT_EQ(window->window()->windowTitle(), window->documentTitle());
    // A window of its own to a screen reader, named by the page, and not a label.
    QAccessibleInterface* helpWindow = QAccessible::queryAccessibleInterface(window->window());
    EXPECT_EQ(helpWindow->role(), QAccessible::Dialog);
    EXPECT_EQ(helpWindow->text(QAccessible::Name), window->documentTitle());

    for (const char* language : {"CHS", "CHT", "EN"}) {  // every page is there
        EXPECT_FALSE(help->PageFor(kGroupEditorHelpTopic, language).empty()) << language;
    }
    EXPECT_EQ(help->PageFor(kSubSystemEditorHelpTopic, "JP"),
              help->PageFor(kSubSystemEditorHelpTopic, "CHS"));
    EXPECT_TRUE(help->PageFor(123, "CHS").empty());
}

}  // namespace
}  // namespace quarn::subsysmgr
