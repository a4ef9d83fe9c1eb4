#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quarn::suite {

/// The translation catalogs one session has read: each file is parsed once. Missing files are
/// not remembered, so a catalog installed later is still found; broken ones are, so that each
/// is reported only once. Thread-safe.
class CatalogCache {
  public:
    /// The texts of one catalog, by source text.
    using Catalog = std::unordered_map<std::string, std::string>;

    /// The catalog in the file, or an empty one when it is missing or broken.
    std::shared_ptr<const Catalog> Read(const std::filesystem::path& path);

  private:
    std::mutex mutex_;
    std::map<std::filesystem::path, std::shared_ptr<const Catalog>> catalogs_;
};

}  // namespace quarn::suite
