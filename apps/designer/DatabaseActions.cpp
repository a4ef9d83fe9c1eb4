#include "DatabaseActions.h"

#include <QFileDialog>

#include "DesignerSettings.h"
#include "DesignerTexts.h"
#include "Guarded.h"
#include "MainWindow.h"
#include "PostgresDialog.h"
#include "SessionText.h"
#include "foundation/ComError.h"
#include "model/SubSysGroup.h"
#include "runtime/ErrorMessage.h"
#include "suite/DataPaths.h"
#include "ui/QtPlatform.h"

namespace quarn::designer {

void ActivateSession(suite::HostSession& session) {
    session.Activate();
    subsysmgr::InstallQtPlatform(*session.Module(), session.Registry(),
                                 suite::DataDirectory() / "help");
}

DatabaseActions::DatabaseActions(suite::HostSession& session, MainWindow& window)
    : QObject(&window),
      session_(session),
      window_(window),
      openedDatabase_(session.DatabaseSpec()) {}

void DatabaseActions::SwitchDatabase(const std::string& database, const std::string& password) {
    // A name the store cannot use is refused before anything changes.
    if (!Guarded([&] { session_.DatabaseSpec(database, password); })) {
        return;
    }
    ActivateSession(session_);
    try {
        subsysmgr::SubSysGroup().GetAllSubSysGroup();
    } catch (const ComError& error) {
        // A window without a database goes on saying why its own cannot be used.
        const bool hadDatabase = window_.HasDatabase();
        subsysmgr::ShowError(*subsysmgr::ModuleState::Current(), error,
                             hadDatabase ? Tr(texts::kCannotOpen).toStdString() : std::string());
        Guarded([this] { session_.DatabaseSpec(openedDatabase_, openedPassword_); });
        ActivateSession(session_);
        if (hadDatabase) {
            emit Switched(false);
        }
        return;
    }
    openedDatabase_ = database;
    openedPassword_ = password;
    RememberDatabase(session_);
    emit Switched(true);
}

void DatabaseActions::Retry() {
    Guarded([this] { session_.DatabaseSpec(openedDatabase_, openedPassword_); });
    ActivateSession(session_);
    emit Switched(false);
}

// A new file with the delivered base data; opening a file never creates one.
void DatabaseActions::NewSqlite() {
    const QString file =
        QFileDialog::getSaveFileName(&window_, Tr(texts::kNewSqlite), QString(),
                                     QStringLiteral("SQLite (*.sqlite *.db *.sqlite3)"));
    if (file.isEmpty()) {
        return;
    }
    const std::string database = "sqlite:" + file.toStdString();
    if (Guarded([&] {
            suite::HostSession(database, session_.Language())
                .CreateDatabase(suite::DatabaseContent::BaseData);
        })) {
        SwitchDatabase(database);
    }
}

void DatabaseActions::OpenSqlite() {
    const QString file =
        QFileDialog::getOpenFileName(&window_, Tr(texts::kOpenSqlite), QString(),
                                     QStringLiteral("SQLite (*.sqlite *.db *.sqlite3);;* (*)"));
    if (!file.isEmpty()) {
        SwitchDatabase("sqlite:" + file.toStdString());
    }
}

void DatabaseActions::OpenPostgres() {
    PostgresDialog dialog(Tr(texts::kOpenPostgres), Tr(texts::kPostgresPrompt),
                          Tr(texts::kPostgresPassword), &window_);
    if (dialog.exec() == QDialog::Accepted && !dialog.Connection().isEmpty()) {
        // A postgresql:// URI after the prefix is read whole, like a key=value string.
        SwitchDatabase("postgresql:" + dialog.Connection().toStdString(),
                       dialog.Password().toStdString());
    }
}

}  // namespace quarn::designer
