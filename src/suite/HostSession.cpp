#include "suite/HostSession.h"

#include "runtime/ModuleState.h"
#include "suite/SuiteComponents.h"
#include "suite/SuiteSession.h"
#include "suite/props/ShareProps.h"
#include "suite/store/ChangeWatchers.h"
#include "suite/store/Database.h"
#include "suite/store/NewDatabase.h"

namespace quarn::suite {

namespace {

std::shared_ptr<SuiteSession> NewServices(const std::string& database, std::string password,
                                          const std::string& language) {
    StoreLocation location = [&] {
        try {
            return StoreLocation::FromDatabaseSpec(database);
        } catch (const StoreFailure& failure) {
            throw SuiteSession(StoreLocation{}, language).Localized(failure);
        }
    }();
    if (!password.empty()) {
        location.password = std::move(password);
    }
    return std::make_shared<SuiteSession>(std::move(location), language);
}

}  // namespace

HostSession::HostSession(std::string database, std::string language)
    : language_(std::move(language)), services_(NewServices(database, {}, language_)) {
    Bind();
}

HostSession::~HostSession() {
    // The connections close with the last object that uses them; the module state installed
    // for this session is one of them.
    if (module_ && subsysmgr::ModuleState::Current() == module_) {
        subsysmgr::ModuleState::Install(nullptr);
    }
}

void HostSession::Bind() {
    registry_ = std::make_shared<ComponentRegistry>();
    RegisterSuiteComponents(*registry_, services_);
    module_.reset();
}

void HostSession::Language(std::string language) {
    language_ = std::move(language);
    services_->Language(language_);
    module_.reset();  // the language cache belongs to the module state
}

void HostSession::DatabaseSpec(std::string database, std::string password) {
    services_ = NewServices(database, std::move(password), language_);
    Bind();  // the data-flow information with its snapshot belongs to the old database
}

std::string HostSession::DatabaseSpec() const {
    const StoreLocation& location = services_->Location();
    return location.demo ? std::string() : location.ContextValue();
}

std::string HostSession::DatabaseDescription() const {
    return services_->Describe(services_->Location());
}

std::string HostSession::Context() const {
    std::string context = "Language=" + language_ + ";";
    const std::string database = DatabaseSpec();
    return database.empty() ? context : "Database=" + database + ";" + context;
}

void HostSession::Activate() {
    if (!module_) {
        module_ = std::make_shared<subsysmgr::ModuleState>(registry_);
    }
    services_->Context(Context());
    ShareProps(services_->Properties()).SetProperty(module_->processId, "PropsString", Context());
    subsysmgr::ModuleState::Install(module_);
}

std::unique_ptr<ChangeWatch> HostSession::WatchChanges() {
    return services_->Localizing([&] {
        services_->Store();
        return suite::WatchChanges(services_->Location());
    });
}

void HostSession::CreateDatabase(DatabaseContent content) {
    services_->Localizing([&] { CreateDatabaseAt(services_->Location(), content); });
}

std::vector<std::string> HostSession::RepairHistory() {
    return services_->Localizing([&] { return services_->Store()->Repair(); });
}

std::vector<std::string> HostSession::MissingHistoryProtections() {
    return services_->Localizing([&] { return services_->Store()->MissingProtections(); });
}

std::vector<std::string> HostSession::MissingValueRules() {
    return services_->Localizing([&] { return services_->Store()->MissingValueRules(); });
}

}  // namespace quarn::suite
