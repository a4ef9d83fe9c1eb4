#include "CliErrors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
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

// The catalog test checks that the languages share their texts and keep the placeholders.
TEST(CliErrors, EveryErrorIsTranslated) {
    for (const std::string language : {"CHS", "CHT"}) {
        const auto catalog = LoadCatalog(language);
        for (const ErrorDefinition& error : errors::kAll) {
            EXPECT_TRUE(catalog.contains(std::string(error.message)))
                << language << ": " << error.message;
        }
    }
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
