#pragma once

#include <QObject>
#include <string>

#include "suite/HostSession.h"

namespace quarn::designer {

class MainWindow;

/// Makes the session current again with the Qt platform, after a change of its language or
/// database.
void ActivateSession(suite::HostSession& session);

/// The databases the window opens: a new SQLite file with the delivered base data, an SQLite
/// file, a PostgreSQL database (its password asked apart) and the demo database. A database that
/// cannot be opened is refused with a message, and the session goes back to the one it had.
class DatabaseActions : public QObject {
    Q_OBJECT

  public:
    /// Dialogs and messages go over `window`, which outlives this object (its parent).
    DatabaseActions(suite::HostSession& session, MainWindow& window);

    void NewSqlite();
    void OpenSqlite();
    void OpenPostgres();
    void OpenDemo() { SwitchDatabase(""); }
    /// Opens another database as the session names it (empty: the demo database); when it
    /// cannot be opened, the current one stays. A name the store cannot use changes nothing.
    void SwitchDatabase(const std::string& database, const std::string& password = {});
    /// Opens the session's database again on connections of its own: one that failed or that
    /// the server closed is not used again. A password given inside the connection string at
    /// the start is not kept; one typed in the connection dialog is.
    void Retry();

  signals:
    /// The session's database was given anew: the one asked for (`opened`), or else the one
    /// before. What the window shows of it must be read anew.
    void Switched(bool opened);

  private:
    suite::HostSession& session_;
    MainWindow& window_;
    // The database as given, with its password, to go back to when another one fails to open.
    std::string openedDatabase_;
    std::string openedPassword_;
};

}  // namespace quarn::designer
