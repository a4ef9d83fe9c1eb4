// The window on a database it cannot read: in place of the tree it says why, numbered as the
// command line numbers it, offers the ways to a database and disables everything that needs one
// until Retry finds the database readable; and the box that refuses a missing database while
// another is open.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <ostream>
#include <string>
#include <vector>

#include "DatabaseActions.h"
#include "DesignerFixture.h"
#include "ModalAnswers.h"
#include "NoDatabasePanel.h"
#include "UndoSteps.h"
#include "WindowActions.h"
#include "suite/store/Database.h"

namespace quarn::designer {
namespace {

using namespace Qt::StringLiterals;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

// What only a raw error code reads like.
constexpr const char* kRawNumber = "-[0-9][0-9][0-9][0-9][0-9][0-9]";

QString AccessibleText(QObject* object, QAccessible::Text text) {
    return QAccessible::queryAccessibleInterface(object)->text(text);
}

class NoDatabase : public DesignerFixture {
  protected:
    void SetUp() override { Open(suite::Backend::SQLite, LaterSpec()); }

    // A file that does not exist when the window opens on it.
    std::string LaterSpec() const {
        return "sqlite:" + folder_.filePath(u"later.sqlite"_s).toStdString();
    }
    NoDatabasePanel* Panel() const { return window_->findChild<NoDatabasePanel*>(); }
    QPushButton* Button(const QString& name) const {
        return window_->findChild<QPushButton*>(name);
    }
    const WindowActions& Actions() const { return *window_->findChild<WindowActions*>(); }
    // Whether each action that needs a database is enabled, and the preview chooser.
    std::vector<bool> NeedingADatabase() const {
        const WindowActions& a = Actions();
        const UndoSteps& undo = *window_->findChild<UndoSteps*>();
        std::vector<bool> enabled;
        for (const QAction* action :
             {a.newGroup,      a.editGroup,       a.deleteGroup,     a.newSubSystem,
              a.editSubSystem, a.deleteSubSystem, a.deleteSelected,  a.moveUp,
              a.moveDown,      a.moveToGroup,     a.refresh,         a.find,
              a.clearFilter,   a.copyCode,        a.showHistory,     a.importFile,
              a.exportAll,     a.exportSelection, undo.UndoAction(), undo.RedoAction()}) {
            enabled.push_back(action->isEnabled());
        }
        enabled.push_back(window_->findChild<QComboBox*>(u"previewChooser"_s)->isEnabled());
        return enabled;
    }
    // Presses a button of the panel by its access key; the message boxes it led to.
    std::vector<std::string> PressAlt(Qt::Key key) {
        window_->activateWindow();  // again, after a box
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        ModalAnswers answers(nullptr);
        QTest::keyClick(window_.get(), key, Qt::AltModifier);
        QTest::qWait(250);  // a button pressed by its access key is clicked after its animation
        return answers.messages;
    }
};

struct Unreadable {
    const char* name;
    std::string spec;  // "" for the file that is not there
    const char* reason;
    const char* number;

    friend void PrintTo(const Unreadable& unreadable, std::ostream* out) {
        *out << unreadable.name;
    }
};

class WithoutDatabase : public NoDatabase, public ::testing::WithParamInterface<Unreadable> {
  protected:
    void SetUp() override {
        Open(suite::Backend::SQLite, GetParam().spec.empty() ? LaterSpec() : GetParam().spec);
    }
};

TEST_P(WithoutDatabase, ThePanelSaysWhyAndOnlyTheWaysToADatabaseAreOffered) {
    NoDatabasePanel* panel = Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(tree_->isVisible());
    EXPECT_FALSE(window_->HasDatabase());
    EXPECT_TRUE(messages_->prompts.empty());  // the panel says it, without a box

    // Read out as the statement with the reason, which ends in the number as the command line
    // counts it; the first button has the focus.
    EXPECT_EQ(AccessibleText(panel, QAccessible::Name), u"No database is open."_s);
    const std::string reason = AccessibleText(panel, QAccessible::Description).toStdString();
    EXPECT_THAT(reason, HasSubstr(GetParam().reason));
    EXPECT_THAT(reason, HasSubstr("\n(error " + std::string(GetParam().number) + ")"));
    EXPECT_THAT(reason, Not(ContainsRegex(kRawNumber)));
    EXPECT_EQ(QApplication::focusWidget(), Button(u"noDatabaseOpen"_s));
    EXPECT_EQ(AccessibleText(Button(u"noDatabaseOpen"_s), QAccessible::Name), u"Open..."_s);
    EXPECT_EQ(AccessibleText(Button(u"noDatabaseNew"_s), QAccessible::Name), u"New Database..."_s);
    EXPECT_EQ(AccessibleText(Button(u"noDatabaseRetry"_s), QAccessible::Name), u"Retry"_s);

    EXPECT_EQ(NeedingADatabase(), std::vector<bool>(21, false));
    const WindowActions& a = Actions();
    for (const QAction* way : {a.newSqlite, a.openSqlite, a.openPostgres, a.openDemo}) {
        EXPECT_TRUE(way->isEnabled()) << way->text().toStdString();
    }

    // Another language says it in that language.
    ChooseLanguage("CHS");
    EXPECT_EQ(AccessibleText(panel, QAccessible::Name), u"未打开数据库。"_s);
    EXPECT_THAT(AccessibleText(panel, QAccessible::Description).toStdString(),
                HasSubstr("\n(错误 " + std::string(GetParam().number) + ")"));
    EXPECT_EQ(AccessibleText(Button(u"noDatabaseRetry"_s), QAccessible::Name), u"重试"_s);
    EXPECT_TRUE(panel->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Databases, WithoutDatabase,
    ::testing::Values(
        Unreadable{"MissingFile", "", "later.sqlite: the file does not exist.", "2214"},
        Unreadable{"UnreachableServer", "postgresql:host=127.0.0.1 port=1 dbname=suite user=me",
                   "Cannot reach the PostgreSQL database suite", "2201"}),
    [](const auto& each) { return std::string(each.param.name); });

TEST_F(NoDatabase, RetryOnceTheFileIsThereShowsTheTreeAndOffersEverythingAgain) {
    // Another database that cannot be opened either is refused in a box; the window keeps
    // saying why its own cannot be read.
    {
        ModalAnswers answers(nullptr);
        window_->findChild<DatabaseActions*>()->SwitchDatabase(
            "sqlite:" + folder_.filePath(u"other.sqlite"_s).toStdString());
        ASSERT_EQ(answers.messages.size(), 1u);
        EXPECT_THAT(answers.messages[0],
                    HasSubstr("other.sqlite: the file does not exist.\n(error 1004)"));
        EXPECT_THAT(answers.messages[0], Not(HasSubstr("previous")));
    }
    EXPECT_EQ(session_->DatabaseSpec(), LaterSpec());
    EXPECT_TRUE(Panel()->isVisible());

    // Retry while it is still missing: a box answers, and the panel stays.
    const std::vector<std::string> stillMissing = PressAlt(Qt::Key_R);
    ASSERT_EQ(stillMissing.size(), 1u);
    EXPECT_THAT(stillMissing[0], HasSubstr("later.sqlite: the file does not exist.\n(error 2214)"));
    EXPECT_TRUE(Panel()->isVisible());

    suite::HostSession(LaterSpec(), "EN").CreateDatabase(suite::DatabaseContent::DemoData);
    EXPECT_TRUE(PressAlt(Qt::Key_R).empty());
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_TRUE(tree_->isVisible());
    EXPECT_TRUE(window_->HasDatabase());
    EXPECT_GT(model_->GroupCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), tree_);
    EXPECT_THAT(window_->findChild<QLabel*>(u"treeCounts"_s)->text().toStdString(),
                HasSubstr("later.sqlite"));
    const WindowActions& a = Actions();
    for (const QAction* action : {a.newGroup, a.refresh, a.find, a.importFile, a.exportAll}) {
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    }
    EXPECT_TRUE(window_->findChild<QComboBox*>(u"previewChooser"_s)->isEnabled());
    tree_->setCurrentIndex(model_->GroupIndex(850));
    EXPECT_TRUE(a.editGroup->isEnabled());
}

// The server ends the session's connections: the next read says so in place of the tree, and
// Retry connects again.
class LostConnection : public NoDatabase {
  protected:
    void SetUp() override { Open(suite::Backend::PostgreSQL); }
};

TEST_F(LostConnection, TheTreeGivesWayToThePanelAndRetryConnectsAgain) {
    suite::Connect(scratch_->location, suite::OpenMode::ReadWrite)
        ->Execute(
            "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
            "WHERE datname = current_database() AND pid <> pg_backend_pid()");
    window_->Reload();
    ASSERT_TRUE(Panel()->isVisible());
    EXPECT_THAT(AccessibleText(Panel(), QAccessible::Description).toStdString(),
                HasSubstr("(error 2201)"));
    EXPECT_FALSE(Actions().refresh->isEnabled());

    EXPECT_TRUE(PressAlt(Qt::Key_R).empty());
    EXPECT_TRUE(tree_->isVisible());
    EXPECT_TRUE(Actions().refresh->isEnabled());
    EXPECT_GT(model_->GroupCount(), 0);
}

// A database that cannot be opened while another is open: one box with the reason and the
// number, and the open one stays.
class OpenDatabase : public NoDatabase {
  protected:
    void SetUp() override { Open(suite::Backend::SQLite); }
};

TEST_F(OpenDatabase, AMissingDatabaseIsRefusedWithItsReasonAndNumberAndTheTreeStays) {
    const std::string before = session_->DatabaseSpec();
    ModalAnswers answers(nullptr);
    window_->findChild<DatabaseActions*>()->SwitchDatabase(
        "sqlite:" + folder_.filePath(u"missing.sqlite"_s).toStdString());
    ASSERT_EQ(answers.messages.size(), 1u);
    const std::string& box = answers.messages[0];
    // The groups could not be read, because of the store's reason.
    EXPECT_THAT(box, HasSubstr("The database cannot be opened; the previous one stays open.\n\n"
                               "Failed to read the subsystem groups. Cannot open the SQLite "
                               "database "));
    EXPECT_THAT(box, HasSubstr("missing.sqlite: the file does not exist.\n(error 1004)"));
    EXPECT_THAT(box, Not(ContainsRegex(kRawNumber)));
    EXPECT_EQ(session_->DatabaseSpec(), before);
    EXPECT_TRUE(window_->HasDatabase());
    EXPECT_TRUE(tree_->isVisible());
    EXPECT_TRUE(Actions().refresh->isEnabled());
}

}  // namespace
}  // namespace quarn::designer
