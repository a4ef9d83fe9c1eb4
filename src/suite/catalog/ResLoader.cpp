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

std::shared_ptr<const Catalog> CatalogFor(CatalogCache& catalogs, const std::string& baseName,
                                          const std::string& language) {
    const std::filesystem::path fileName =
        baseName + "." + (language.empty() ? "CHS" : language) + ".json";
    // Both parts come from the session: they name a file, never a way out of the folder.
    if (fileName.has_parent_path()) {
        return std::make_shared<const Catalog>();
    }
    return catalogs.Read(DataDirectory() / "catalogs" / fileName);
}

}  // namespace

std::shared_ptr<const Catalog> CatalogCache::Read(const std::filesystem::path& path) {
    std::lock_guard lock(mutex_);
    if (const auto it = catalogs_.find(path); it != catalogs_.end()) {
        return it->second;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::make_shared<const Catalog>();
    }
    auto catalog = std::make_shared<const Catalog>(ParseCatalog(path, file));
    catalogs_.emplace(path, catalog);
    return catalog;
}

ResLoader::ResLoader(std::shared_ptr<CatalogCache> catalogs) : catalogs_(std::move(catalogs)) {}

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
        catalog_ = CatalogFor(*catalogs_, baseName_, language_);
    }
    const auto it = catalog_->find(key);
    return it == catalog_->end() ? key : it->second;
}

}  // namespace quarn::suite
