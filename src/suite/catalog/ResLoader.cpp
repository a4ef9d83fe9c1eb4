#include "suite/catalog/ResLoader.h"

#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>

#include "suite/DataPaths.h"

namespace quarn::suite {

namespace {

using Catalog = ResLoader::Catalog;

void ReportBrokenCatalog(const std::filesystem::path& path, const std::string& reason) {
    static spdlog::logger log("quarn.catalog", std::make_shared<spdlog::sinks::stderr_sink_mt>());
    log.error("translation catalog {} is not used: {}", path.string(), reason);
}

/// The catalog in a file, or nothing (reported) when the file is not one JSON object of texts.
Catalog ParseCatalog(const std::filesystem::path& path, std::ifstream& file) {
    std::string reason = "not a JSON object";
    try {
        const auto json = nlohmann::json::parse(file);
        if (json.is_object()) {
            Catalog catalog;
            for (const auto& [key, value] : json.items()) {
                catalog.emplace(key, value.get<std::string>());
            }
            return catalog;
        }
    } catch (const nlohmann::json::exception& error) {
        reason = error.what();
    }
    ReportBrokenCatalog(path, reason);
    return {};
}

/// Catalogs are parsed once per process. Missing ones are not remembered, so a catalog that is
/// installed later is still found; broken ones are, so that each is reported only once.
std::shared_ptr<const Catalog> ReadCatalog(const std::filesystem::path& path) {
    static std::mutex mutex;
    static std::map<std::filesystem::path, std::shared_ptr<const Catalog>> cache;

    std::lock_guard lock(mutex);
    if (const auto it = cache.find(path); it != cache.end()) {
        return it->second;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::make_shared<const Catalog>();
    }
    auto catalog = std::make_shared<const Catalog>(ParseCatalog(path, file));
    cache.emplace(path, catalog);
    return catalog;
}

std::shared_ptr<const Catalog> CatalogFor(const std::string& baseName,
                                          const std::string& language) {
    const std::filesystem::path fileName =
        baseName + "." + (language.empty() ? "CHS" : language) + ".json";
    // Both parts come from the session: they name a file, never a way out of the folder.
    if (fileName.has_parent_path()) {
        return std::make_shared<const Catalog>();
    }
    return ReadCatalog(DataDirectory() / "catalogs" / fileName);
}

}  // namespace

void ResLoader::ResFileBaseName(const std::string& value) {
    baseName_ = value;
    catalog_.reset();
}

void ResLoader::LanguageID(const std::string& value) {
    language_ = value;
    catalog_.reset();
}

std::string ResLoader::LoadString(const std::string& key) {
    if (!catalog_) {
        catalog_ = CatalogFor(baseName_, language_);
    }
    const auto it = catalog_->find(key);
    return it == catalog_->end() ? key : it->second;
}

}  // namespace quarn::suite
