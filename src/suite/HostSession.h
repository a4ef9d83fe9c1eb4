#pragma once

#include <memory>
#include <string>

#include "host/ComponentRegistry.h"
#include "runtime/ModuleState.h"

namespace quarn::suite {

/// What a host program (the designer, the command-line tool) sets up before it uses the
/// component: a registry with our suite components, the component's module state over it,
/// and the session context string published for this process.
class HostSession {
  public:
    /// `database`: "" for the demo database, an SQLite file path, "sqlite:<file>" or
    /// "postgresql:<libpq connection string>". `language`: CHS, CHT or EN.
    HostSession(std::string database, std::string language);

    /// Publishes the context and installs the module state as the component's current one.
    /// A new language or database takes effect for business objects created afterwards.
    void Activate();

    void Language(std::string language);
    const std::string& Language() const { return language_; }
    void DatabaseSpec(std::string database);
    const std::string& DatabaseSpec() const { return database_; }

    /// "Database=...;Language=..;" as published.
    std::string Context() const;

    ComponentRegistry& Registry() { return *registry_; }
    const std::shared_ptr<subsysmgr::ModuleState>& Module() const { return module_; }

  private:
    std::string database_;
    std::string language_;
    std::shared_ptr<ComponentRegistry> registry_;
    std::shared_ptr<subsysmgr::ModuleState> module_;
};

}  // namespace quarn::suite
