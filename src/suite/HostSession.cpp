#include "suite/HostSession.h"

#include <unistd.h>

#include "suite/SuiteComponents.h"
#include "suite/props/ShareProps.h"

namespace quarn::suite {

HostSession::HostSession(std::string database, std::string language)
    : database_(std::move(database)),
      language_(std::move(language)),
      registry_(std::make_shared<ComponentRegistry>()) {
    RegisterSuiteComponents(*registry_);
}

void HostSession::Language(std::string language) {
    language_ = std::move(language);
    module_.reset();  // the language cache belongs to the module state
}

void HostSession::DatabaseSpec(std::string database) {
    database_ = std::move(database);
    module_.reset();  // so does the data-flow information with its snapshot
}

std::string HostSession::Context() const {
    std::string database = database_;
    if (!database.empty() && database.rfind("sqlite:", 0) != 0 &&
        database.rfind("postgresql:", 0) != 0) {
        database = "sqlite:" + database;  // a bare path names an SQLite file
    }
    std::string context = "Language=" + language_ + ";";
    if (!database.empty()) {
        context = "Database=" + database + ";" + context;
    }
    return context;
}

void HostSession::Activate() {
    if (!module_) {
        module_ = std::make_shared<subsysmgr::ModuleState>(registry_);
    }
    ShareProps().SetProperty(module_->processId, "PropsString", Context());
    subsysmgr::ModuleState::Install(module_);
}

}  // namespace quarn::suite
