#pragma once

#include <memory>
#include <string>
#include <vector>

#include "quarn/host/ComponentRegistry.h"
#include "quarn/suite/ChangeWatch.h"
#include "quarn/suite/CreateDatabase.h"

namespace quarn::subsysmgr {
struct ModuleState;
}

namespace quarn::suite {

class SuiteSession;

/// What a host program (the designer, the command-line tool, another team's program) sets up
/// before it uses the component: a registry with our suite components bound to this session's
/// own store, catalogs and log, the component's module state over it, and the session context
/// string published in the session's shared properties. Two sessions in one process never share
/// a connection or a context; destroying a session closes its connections.
class HostSession {
  public:
    /// `database`: "" for the demo database, an SQLite file path, "sqlite:<file>" or
    /// "postgresql:<libpq connection string>". A password in the connection string is held
    /// apart from the context and never shown. `language`: CHS, CHT or EN. Raises StoreError
    /// InvalidLocation for a database it cannot read; nothing is opened yet.
    HostSession(std::string database, std::string language);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    /// Publishes the context and installs the module state as the component's current one.
    /// A new language or database takes effect for business objects created afterwards.
    void Activate();

    void Language(std::string language);
    const std::string& Language() const { return language_; }
    /// Switches to another database. `password` (empty: libpq's own sources such as ~/.pgpass
    /// or PGPASSWORD) is held apart, like one inside the connection string. Raises StoreError
    /// InvalidLocation and keeps the current database when `database` cannot be read.
    void DatabaseSpec(std::string database, std::string password = {});
    /// The database as chosen, without a password: what a host may remember.
    std::string DatabaseSpec() const;
    /// A readable name of the database for windows and messages, never with a password.
    std::string DatabaseDescription() const;

    /// Creates the session's database (see CreateDatabase); errors in the session language.
    void CreateDatabase(DatabaseContent content);

    /// Puts back every trigger, function and grant that keeps the session's change log true, and
    /// the triggers or constraints of the rules on values, whatever another program removed or
    /// changed, and logs that as a change of its own.
    /// Returns what was missing or altered (empty when nothing was). Errors in the session
    /// language; on PostgreSQL the session's user must own the database's tables.
    std::vector<std::string> RepairHistory();
    /// What RepairHistory would put back, one entry a thing; only reads. Errors as RepairHistory.
    std::vector<std::string> MissingHistoryProtections();
    /// The rules on values (a short code's length, a simplified-Chinese name given) whose
    /// triggers or constraints RepairHistory would put back; only reads. Errors as RepairHistory.
    std::vector<std::string> MissingValueRules();

    /// A watch on the database's tree for a window that follows other users' changes, on a
    /// connection of its own (the demo database is created first when it does not exist yet).
    /// Raises the store's errors in the session language.
    std::unique_ptr<ChangeWatch> WatchChanges();

    /// "Database=...;Language=..;" as published (never with a password).
    std::string Context() const;

    ComponentRegistry& Registry() { return *registry_; }
    /// The component's module state over this session (quarn/runtime/ModuleState.h).
    const std::shared_ptr<subsysmgr::ModuleState>& Module() const { return module_; }

  private:
    void Bind();

    std::string language_;
    std::shared_ptr<SuiteSession> services_;
    std::shared_ptr<ComponentRegistry> registry_;
    std::shared_ptr<subsysmgr::ModuleState> module_;
};

}  // namespace quarn::suite
