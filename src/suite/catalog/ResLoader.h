#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "host/IResLoader.h"
#include "suite/catalog/CatalogCache.h"

namespace quarn::suite {

/// QuarnResLoader.Loader over JSON translation catalogs: <data>/catalogs/<base>.<language>.json,
/// one object that maps each source text to its text in that language. The catalog is keyed by
/// source text, so a text that it does not know comes back as it is, and so does every text
/// when the catalog is missing or broken (a broken one is reported once on stderr). An empty
/// language means simplified Chinese. Catalogs are read once per session through its cache;
/// an instance is meant for one thread at a time.
class ResLoader : public IResLoader {
  public:
    /// The texts of one catalog, by source text.
    using Catalog = CatalogCache::Catalog;

    explicit ResLoader(std::shared_ptr<CatalogCache> catalogs);

    std::string ResFileBaseName() const override { return baseName_; }
    void ResFileBaseName(const std::string& value) override;
    std::string LanguageID() const override { return language_; }
    void LanguageID(const std::string& value) override;
    std::string LoadString(const std::string& key) override;

  private:
    std::shared_ptr<CatalogCache> catalogs_;
    std::string baseName_;
    std::string language_;
    std::shared_ptr<const Catalog> catalog_;  // null until a lookup needs it
};

}  // namespace quarn::suite
