#include "MainWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "ModalAnswers.h"
#include "PostgresDialog.h"
#include "store/StoreFixture.h"
#include "suite/DataPaths.h"
#include "ui/QtPlatform.h"

namespace quarn::designer {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::string kPassword = "p w;d";

std::string FileText(const QString& path) {
    std::stringstream text;
    text << std::ifstream(path.toStdString()).rdbuf();
    return text.str();
}

// Fills in the connection dialog by keyboard (connection string, Tab, password, Enter) and notes
// whether it did and whether the password was hidden; other modal dialogs as ModalAnswers does.
class ConnectAnswers : public ModalAnswers {
  public:
    ConnectAnswers(const std::string& connection, const std::string& password)
        : ModalAnswers([this, connection, password](QDialog& modal) {
              QWidget* focus = QApplication::focusWidget();
              if (!qobject_cast<PostgresDialog*>(&modal) || !focus || !modal.isAncestorOf(focus)) {
                  return;
              }
              filledIn = true;
              QTest::keyClicks(focus, QString::fromStdString(connection));
              QTest::keyClick(focus, Qt::Key_Tab);
              auto* hidden = qobject_cast<QLineEdit*>(QApplication::focusWidget());
              ASSERT_TRUE(hidden && hidden->objectName() == QStringLiteral("password"));
              passwordHidden = hidden->echoMode() == QLineEdit::Password;
              QTest::keyClicks(hidden, QString::fromStdString(password));
              QTest::keyClick(hidden, Qt::Key_Return);
          }) {}

    bool filledIn = false;
    bool passwordHidden = false;
};

// A designer window over the demo database in a folder of its own, with the settings and the
// diagnostic log there too.
class DesignerWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (suite::TestServer().empty()) {
            GTEST_SKIP() << "QUARN_TEST_PG is not set (run under scripts/with-postgres)";
        }
        ASSERT_TRUE(folder_.isValid());
        setenv("XDG_DATA_HOME", folder_.path().toUtf8().constData(), 1);
        setenv("QUARN_DATA_DIR", QUARN_RESOURCES_DIR, 1);
        setenv("QUARN_LOG_FILE", LogFile().toUtf8().constData(), 1);
        QCoreApplication::setOrganizationName(QStringLiteral("QuarnTest"));
        QCoreApplication::setApplicationName(QStringLiteral("designer"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());

        scratch_ = std::make_unique<suite::ScratchDatabase>(suite::Backend::PostgreSQL);
        session_ = std::make_unique<suite::HostSession>("", "EN");
        session_->Activate();
        subsysmgr::InstallQtPlatform(*session_->Module(), session_->Registry(),
                                     suite::DataDirectory() / "help");
        window_ = std::make_unique<MainWindow>(*session_);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        window_->Reload();
    }

    void TearDown() override {
        window_.reset();
        session_.reset();
        scratch_.reset();
        unsetenv("QUARN_LOG_FILE");
    }

    QString LogFile() const { return folder_.filePath(QStringLiteral("designer.log")); }
    // The connection string of the scratch database without its "postgresql:".
    std::string Connection() const { return scratch_->Spec().substr(11); }

    // File > Connect to PostgreSQL by its shortcut; returns when the dialog and whatever it
    // led to are closed.
    void PressConnect() {
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    }

    // The status bar: the passing message and the database with its counts.
    std::string Status() const {
        return window_->statusBar()->currentMessage().toStdString() + "\n" +
               window_->findChild<QLabel*>(QStringLiteral("treeCounts"))->text().toStdString();
    }

    // Everything the window shows and the settings keep, with the log.
    std::string Traces() {
        QSettings().sync();
        return window_->windowTitle().toStdString() + "\n" + Status() + "\n" +
               FileText(QSettings().fileName()) + "\n" + FileText(LogFile());
    }

    QTemporaryDir folder_;
    std::unique_ptr<suite::ScratchDatabase> scratch_;
    std::unique_ptr<suite::HostSession> session_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(DesignerWindow, APasswordTypedInTheConnectDialogIsUsedButNeverShownKeptOrLogged) {
    {
        // Gone before the second connection, which only `inside` may answer.
        ConnectAnswers answers(Connection(), kPassword);
        PressConnect();
        ASSERT_TRUE(answers.filledIn);
        EXPECT_TRUE(answers.passwordHidden);
        EXPECT_THAT(answers.messages, ::testing::IsEmpty());
    }

    const std::string description = session_->DatabaseDescription();
    EXPECT_THAT(description, HasSubstr("PostgreSQL database quarn_t_"));
    EXPECT_THAT(Status(), HasSubstr(description));
    EXPECT_THAT(window_->windowTitle().toStdString(), HasSubstr(description));
    EXPECT_EQ(QSettings().value(QStringLiteral("session/database")).toString().toStdString(),
              session_->DatabaseSpec());
    EXPECT_THAT(session_->DatabaseSpec(), HasSubstr("postgresql:"));
    EXPECT_THAT(FileText(LogFile()), Not(::testing::IsEmpty()));
    EXPECT_THAT(Traces(), Not(HasSubstr(kPassword)));
    EXPECT_THAT(Traces(), Not(HasSubstr("password")));
    EXPECT_THAT(session_->Context(), Not(HasSubstr(kPassword)));

    // The same with the password inside the connection string.
    ConnectAnswers inside(Connection() + " password='" + kPassword + "'", "");
    PressConnect();
    ASSERT_TRUE(inside.filledIn);
    EXPECT_THAT(inside.messages, ::testing::IsEmpty());
    EXPECT_EQ(session_->DatabaseDescription(), description);
    EXPECT_THAT(Traces(), Not(HasSubstr(kPassword)));
    EXPECT_THAT(Traces(), Not(HasSubstr("password")));
}

TEST_F(DesignerWindow, AServerThatCannotBeReachedLeavesThePreviousDatabaseAndNoPasswordBehind) {
    const std::string before = window_->windowTitle().toStdString();
    ConnectAnswers answers("host=127.0.0.1 port=1 dbname=suite user=me", kPassword);
    PressConnect();
    ASSERT_TRUE(answers.filledIn);
    ASSERT_FALSE(answers.messages.empty());
    for (const std::string& message : answers.messages) {
        EXPECT_THAT(message, Not(HasSubstr(kPassword)));
    }
    EXPECT_EQ(window_->windowTitle().toStdString(), before);
    EXPECT_EQ(session_->DatabaseSpec(), "");
    EXPECT_THAT(Traces(), Not(HasSubstr(kPassword)));
}

}  // namespace
}  // namespace quarn::designer
