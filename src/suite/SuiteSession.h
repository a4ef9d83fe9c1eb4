#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "foundation/ComError.h"
#include "suite/catalog/CatalogCache.h"
#include "suite/props/ShareProps.h"
#include "suite/store/StoreErrors.h"
#include "suite/store/StoreLocation.h"

namespace quarn::suite {

class Database;

/// What one host session owns and the suite components it registers are bound to: the
/// database it names (with a password held apart), its open connections, its translation
/// catalogs, its shared properties and its context string. Nothing here is shared with another
/// session of the same process. Thread-safe.
class SuiteSession {
  public:
    SuiteSession(StoreLocation location, std::string language);
    /// A session of a host that publishes its context through the session's shared
    /// properties only (a program that loads the component library): the database and the
    /// language follow the published context string.
    SuiteSession();
    ~SuiteSession();

    /// The database of the session. Raises InvalidLocation when a published context names one
    /// that cannot be read.
    StoreLocation Location() const;
    /// The language of the session's messages: CHS, CHT or EN.
    std::string Language() const;
    void Language(std::string language);
    /// The context string as published for the runtime.
    std::string Context() const;
    void Context(std::string context);

    /// The session's database, opened on first use. The demo database is created with its
    /// demo data when it does not exist yet; any other must exist and be ours.
    std::shared_ptr<Database> Store();
    /// The database a context string passed to a free query names: the session's own when the
    /// context names it or none; another one opened (and kept) for this session otherwise.
    std::shared_ptr<Database> StoreFor(std::string_view context);

    std::shared_ptr<CatalogCache> Catalogs() const { return catalogs_; }
    std::shared_ptr<ShareProps::Table> Properties() const { return properties_; }

    /// True the first time it is asked about `note`, false after: for what the diagnostic log
    /// says once per session.
    bool FirstTime(const std::string& note);

    /// Turns a simplified-Chinese catalog text into the session's language.
    DatabaseName::Localize Localizer() const;
    /// "SQLite database <file>" and the like in the session's language.
    std::string Describe(const StoreLocation& location) const;

    /// The store's failure as a ComError in the session's language (same number, source and
    /// engine code), recorded in the session's diagnostic log.
    ComError Localized(const StoreFailure& failure) const;
    /// Runs `call`; a store failure leaves it in the session's language.
    template <class Call>
    auto Localizing(Call&& call) const {
        try {
            return call();
        } catch (const StoreFailure& failure) {
            throw Localized(failure);
        }
    }

  private:
    void LogFailure(const ComError& error) const;

    std::optional<StoreLocation> location_;  // none: the published context chooses
    std::shared_ptr<CatalogCache> catalogs_ = std::make_shared<CatalogCache>();
    std::shared_ptr<ShareProps::Table> properties_ = std::make_shared<ShareProps::Table>();
    mutable std::mutex mutex_;
    std::string language_;
    std::string context_;
    std::map<std::string, std::shared_ptr<Database>> stores_;  // by location key
    std::set<std::string> notes_;                              // told once
    std::shared_ptr<Database> OpenStore(const StoreLocation& location);
};

}  // namespace quarn::suite
