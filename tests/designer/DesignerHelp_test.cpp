#include "DesignerHelp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QWidgetAction>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "DesignerFixture.h"
#include "DesignerIcons.h"
#include "DesignerTexts.h"
#include "ShortcutsDialog.h"
#include "ui/ChmHelpWindow.h"

namespace quarn::designer {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class DesignerHelpTest : public DesignerFixture {
  protected:
    // The page the help window shows after F1 on the window.
    std::string PressF1() {
        QTest::keyClick(window_.get(), Qt::Key_F1);
        auto* help = dynamic_cast<subsysmgr::ChmHelpWindow*>(session_->Module()->help.get());
        return help && help->Window() ? help->Window()->source().toLocalFile().toStdString() : "";
    }
};

TEST_F(DesignerHelpTest, EveryShortcutOfTheWindowIsListedOnceInTheSessionLanguage) {
    for (const char* language : {"EN", "CHS"}) {
        SCOPED_TRACE(language);
        ChooseLanguage(language);
        ShortcutsDialog dialog(*window_);
        std::map<QString, QString> listed;  // keys, text
        int rows = 0;
        for (int section = 0; section < dialog.List()->topLevelItemCount(); ++section) {
            const QTreeWidgetItem* items = dialog.List()->topLevelItem(section);
            EXPECT_FALSE(items->text(0).isEmpty());
            for (int row = 0; row < items->childCount(); ++row, ++rows) {
                listed[items->child(row)->text(1)] = items->child(row)->text(0);
            }
        }
        int withShortcut = 0;
        for (const QAction* action : window_->findChildren<QAction*>()) {
            if (action->shortcuts().isEmpty()) {
                continue;
            }
            ++withShortcut;
            const QString keys =
                QKeySequence::listToString(action->shortcuts(), QKeySequence::NativeText);
            ASSERT_TRUE(listed.contains(keys)) << keys.toStdString();
            const QString text = listed[keys];
            EXPECT_FALSE(text.isEmpty()) << keys.toStdString();
            EXPECT_TRUE(QString(action->text()).remove(u'&').startsWith(text))
                << text.toStdString() << " for " << action->text().toStdString();
        }
        EXPECT_EQ(rows, withShortcut);
        EXPECT_EQ(listed.size(), static_cast<std::size_t>(rows)) << "two actions share keys";
    }
    // Every menu reads in the session language, the help menu too.
    EXPECT_EQ(ShortcutsDialog(*window_).List()->topLevelItem(0)->text(0).toStdString(), "文件");
}

TEST_F(DesignerHelpTest, F1ShowsTheHelpOfTheEditorOfTheSelectedItem) {
    window_->Select(850, 0);
    EXPECT_THAT(PressF1(), HasSubstr("EN/580038.html"));
    window_->Select(850, 8001);
    EXPECT_THAT(PressF1(), HasSubstr("EN/580042.html"));
    tree_->setCurrentIndex(tree_->model()->index(0, 0, tree_->currentIndex()));  // a kind
    EXPECT_EQ(DesignerHelp::TopicOf(tree_->currentIndex()), 580042);
    EXPECT_TRUE(messages_->prompts.empty());

    // A help folder without the page says so instead of doing nothing.
    session_->Module()->help = std::make_shared<subsysmgr::ChmHelpWindow>("/nonexistent/help");
    window_->Select(850, 0);
    PressF1();
    ASSERT_EQ(messages_->prompts.size(), 1u);
    EXPECT_THAT(messages_->prompts.front(), HasSubstr("580038"));
}

TEST_F(DesignerHelpTest, TheDetailsNameTheLanguageOfEachName) {
    window_->Select(850, 8001);
    const std::string details = window_->findChild<QTextBrowser*>()->toPlainText().toStdString();
    EXPECT_THAT(details, HasSubstr("Name (simplified Chinese)"));
    EXPECT_THAT(details, HasSubstr("Name (traditional Chinese)"));
    EXPECT_THAT(details, HasSubstr("Name (English)"));
}

TEST_F(DesignerHelpTest, AboutNamesTheDatabaseAsTheTitleDoesAndNeverItsPassword) {
    const std::string about = DesignerHelp::AboutText(*session_).toStdString();
    EXPECT_THAT(about, HasSubstr(session_->DatabaseDescription()));
    EXPECT_THAT(window_->windowTitle().toStdString(), HasSubstr(session_->DatabaseDescription()));
    EXPECT_THAT(about, HasSubstr(std::string("Version ") + DesignerVersion()));
    EXPECT_THAT(about, HasSubstr(std::string("Qt version ") + qVersion()));

    const suite::HostSession server(
        "postgresql:host=db1.example port=5432 dbname=suite user=me password='s3 cr;et'", "EN");
    const std::string aboutServer = DesignerHelp::AboutText(server).toStdString();
    EXPECT_THAT(aboutServer, HasSubstr("suite"));
    EXPECT_THAT(aboutServer, HasSubstr("db1.example"));
    EXPECT_THAT(aboutServer, Not(HasSubstr("s3 cr;et")));
    EXPECT_THAT(aboutServer, Not(HasSubstr("password")));
}

// A drawing missing from the resources, or SVG that cannot be read, would leave a blank.
TEST_F(DesignerHelpTest, EveryActionOfTheMenusAndToolbarAndEveryKindOfItemHasAnIcon) {
    EXPECT_FALSE(window_->windowIcon().pixmap(32).isNull());
    // Choices (languages, previews) show their check mark instead; widgets show themselves.
    const auto wantsIcon = [](const QAction* action) {
        return !action->isSeparator() && !action->menu() && !action->isCheckable() &&
               !qobject_cast<const QWidgetAction*>(action);
    };
    for (const QAction* action : window_->findChild<QToolBar*>()->actions()) {
        EXPECT_TRUE(!wantsIcon(action) || !action->icon().pixmap(16).isNull())
            << action->text().toStdString();
    }
    for (const QMenu* menu : window_->findChildren<QMenu*>()) {
        for (const QAction* action : menu->actions()) {
            EXPECT_TRUE(!wantsIcon(action) || !action->icon().pixmap(16).isNull())
                << action->text().toStdString();
        }
    }
    window_->Select(850, 8001);
    const QModelIndex subSystem = tree_->currentIndex();
    for (const QModelIndex& item :
         {subSystem.parent(), subSystem, tree_->model()->index(0, 0, subSystem)}) {
        EXPECT_FALSE(item.data(Qt::DecorationRole).value<QIcon>().pixmap(16).isNull());
    }
    // Each kind of business object has a drawing of its own.
    std::set<QByteArray> drawings;
    for (const std::string_view kind : {texts::kBaseTypes, texts::kBills, texts::kMultiChecks,
                                        texts::kWorkFlows, texts::kReports}) {
        const QImage drawing =
            DesignerIcons::For(ItemKind::BusinessObjects, kind).pixmap(16).toImage();
        ASSERT_FALSE(drawing.isNull());
        drawings.emplace(reinterpret_cast<const char*>(drawing.constBits()), drawing.sizeInBytes());
    }
    EXPECT_EQ(drawings.size(), 5u);
}

}  // namespace
}  // namespace quarn::designer
