#include "suite/SuiteSession.h"

#include <filesystem>

#include "suite/ContextEntries.h"
#include "suite/catalog/MessageFormatter.h"
#include "suite/catalog/ResLoader.h"
#include "suite/log/DiagnosticLogComponent.h"
#include "suite/store/Database.h"
#include "suite/store/NewDatabase.h"

namespace quarn::suite {

SuiteSession::SuiteSession(StoreLocation location, std::string language)
    : location_(std::move(location)), language_(std::move(language)) {}

SuiteSession::SuiteSession() = default;

SuiteSession::~SuiteSession() = default;

StoreLocation SuiteSession::Location() const {
    if (location_) {
        return *location_;
    }
    return StoreLocation::FromContext(Context());
}

std::string SuiteSession::Language() const {
    std::lock_guard lock(mutex_);
    if (!language_.empty() || location_) {
        return language_;
    }
    return ContextEntry(context_, "Language").value_or("CHS");
}

void SuiteSession::Language(std::string language) {
    std::lock_guard lock(mutex_);
    language_ = std::move(language);
}

std::string SuiteSession::Context() const {
    {
        std::lock_guard lock(mutex_);
        if (!context_.empty()) {
            return context_;
        }
    }
    // A host that only publishes the context: the session's own table holds it.
    std::lock_guard lock(properties_->mutex);
    for (const auto& [key, value] : properties_->values) {
        if (key.second == "PropsString" && value.Type() == VariantType::String) {
            return value.ToText();
        }
    }
    return {};
}

void SuiteSession::Context(std::string context) {
    std::lock_guard lock(mutex_);
    context_ = std::move(context);
}

std::shared_ptr<Database> SuiteSession::Store() {
    return OpenStore(Location());
}

std::shared_ptr<Database> SuiteSession::OpenStore(const StoreLocation& location) {
    std::lock_guard lock(mutex_);
    auto& store = stores_[location.Key()];
    if (!store) {
        std::error_code ignored;
        if (location.demo && !std::filesystem::exists(location.target, ignored)) {
            CreateDatabaseAt(location, DatabaseContent::DemoData);
        }
        store = Database::Open(location);
    }
    return store;
}

std::shared_ptr<Database> SuiteSession::StoreFor(std::string_view context) {
    const auto entry = ContextEntry(context, kDatabaseEntry);
    if (!entry || entry->empty()) {
        return Store();
    }
    StoreLocation location = StoreLocation::FromContext(context);
    const StoreLocation own = Location();
    // The context never carries the password: the session's own database keeps its own.
    return OpenStore(location.ContextValue() == own.ContextValue() ? own : location);
}

bool SuiteSession::FirstTime(const std::string& note) {
    const std::lock_guard lock(mutex_);
    return notes_.insert(note).second;
}

DatabaseName::Localize SuiteSession::Localizer() const {
    auto loader = std::make_shared<ResLoader>(catalogs_);
    loader->ResFileBaseName("QuarnDesign");
    loader->LanguageID(Language());
    return [loader](std::string_view text) { return loader->LoadString(std::string(text)); };
}

std::string SuiteSession::Describe(const StoreLocation& location) const {
    return location.Name().Text(Localizer());
}

ComError SuiteSession::Localized(const StoreFailure& failure) const {
    const DatabaseName::Localize localize = Localizer();
    const std::string detail =
        failure.NamedDatabase() ? failure.NamedDatabase()->Text(localize) : failure.Detail();
    const std::string localized = MessageFormatter().FormatMessage(
        localize(failure.Template()), {Variant(detail), Variant(failure.MoreDetail())});
    ComError error(failure.Number(), failure.Source(), localized, failure.EngineCode());
    LogFailure(error);
    return error;
}

void SuiteSession::LogFailure(const ComError& error) const {
    try {
        DiagnosticLogComponent log(*this);
        if (!log.IsEnabled()) {
            return;
        }
        std::string line = "store failure " + std::to_string(error.Offset()) + " " + error.Source();
        if (!error.EngineCode().empty()) {
            line += " engine " + error.EngineCode();
        }
        log.LogNote(line + ": " + error.Description());
    } catch (...) {
        // The log never takes the place of the error it records.
    }
}

}  // namespace quarn::suite
