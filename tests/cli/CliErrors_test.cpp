#include "CliErrors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "model/ModelErrors.h"
#include "suite/store/StoreErrors.h"

namespace quarn::subsysmgr::cli {
namespace {

std::map<std::string, std::string> LoadCatalog(const std::string& language) {
    std::ifstream file(std::filesystem::path(QUARN_RESOURCES_DIR) / "catalogs" /
                       ("QuarnSubsysCli." + language + ".json"));
    return nlohmann::json::parse(file).get<std::map<std::string, std::string>>();
}

std::multiset<std::string> Placeholders(const std::string& text) {
    static const std::regex placeholder("%[0-9]+");
    std::multiset<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder);
         it != std::sregex_iterator(); ++it) {
        found.insert(it->str());
    }
    return found;
}

TEST(CliErrors, EveryErrorIsTranslatedWithItsPlaceholders) {
    for (const std::string language : {"CHS", "CHT"}) {
        const auto catalog = LoadCatalog(language);
        for (const ErrorDefinition& error : errors::kAll) {
            SCOPED_TRACE(language + " " + std::to_string(error.offset));
            const auto it = catalog.find(std::string(error.message));
            ASSERT_NE(it, catalog.end()) << error.message;
            EXPECT_EQ(Placeholders(it->second), Placeholders(std::string(error.message)));
        }
    }
}

TEST(CliErrors, LanguagesShareTheirTexts) {
    const auto simplified = LoadCatalog("CHS");
    const auto traditional = LoadCatalog("CHT");
    std::set<std::string> simplifiedKeys, traditionalKeys;
    for (const auto& [key, value] : simplified) {
        simplifiedKeys.insert(key);
        EXPECT_EQ(Placeholders(value), Placeholders(key)) << "CHS: " << key;
    }
    for (const auto& [key, value] : traditional) {
        traditionalKeys.insert(key);
        EXPECT_EQ(Placeholders(value), Placeholders(key)) << "CHT: " << key;
    }
    EXPECT_EQ(simplifiedKeys, traditionalKeys);
}

TEST(CliErrors, NoNumberIsTakenTwiceOrByTheModelOrTheStore) {
    std::set<int32_t> taken;
    for (const ErrorDefinition& error : subsysmgr::errors::kAll) {
        taken.insert(error.offset);
    }
    using suite::StoreError;
    for (const StoreError error :
         {StoreError::Unavailable, StoreError::NewerSchema, StoreError::Busy, StoreError::Refused,
          StoreError::ReadOnly, StoreError::QueryFailed, StoreError::InvalidLocation}) {
        taken.insert(static_cast<int32_t>(error));
    }
    for (const ErrorDefinition& error : errors::kAll) {
        SCOPED_TRACE(error.message);
        EXPECT_TRUE(taken.insert(error.offset).second) << error.offset;
        EXPECT_EQ(error.Number(), ObjectError(error.offset));
    }
}

}  // namespace
}  // namespace quarn::subsysmgr::cli
