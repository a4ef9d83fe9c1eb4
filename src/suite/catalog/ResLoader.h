#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "host/IResLoader.h"

namespace quarn::suite {

/// QuarnResLoader.Loader over JSON translation catalogs: <data>/catalogs/<base>.<language>.json,
/// one object that maps each source text to its text in that language. The catalog is keyed by
/// source text, so a text that it does not know comes back as it is, and so does every text
/// when the catalog is missing or broken (a broken one is reported once on stderr). An empty
/// language means simplified Chinese. Catalogs are read once per process and shared by every
/// instance; that cache is thread-safe, an instance is meant for one thread at a time.
class ResLoader : public IResLoader {
  public:
    /// The texts of one catalog, by source text.
    using Catalog = std::unordered_map<std::string, std::string>;

    std::string ResFileBaseName() const override { return baseName_; }
    void ResFileBaseName(const std::string& value) override;
    std::string LanguageID() const override { return language_; }
    void LanguageID(const std::string& value) override;
    std::string LoadString(const std::string& key) override;

  private:
    std::string baseName_;
    std::string language_;
    std::shared_ptr<const Catalog> catalog_;  // null until a lookup needs it
};

}  // namespace quarn::suite
