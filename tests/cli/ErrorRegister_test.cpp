#include "ErrorRegister.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <string>

#include "host/IDatasUpdate.h"

namespace quarn::subsysmgr::error_register {
namespace {

using Catalog = std::map<std::string, std::string>;

Catalog LoadCatalog(const std::string& program, const std::string& language) {
    std::ifstream file(std::filesystem::path(QUARN_RESOURCES_DIR) / "catalogs" /
                       (program + "." + language + ".json"));
    return nlohmann::json::parse(file).get<Catalog>();
}

std::string Describe(const RegisteredError& error) {
    std::string described = std::to_string(error.offset) + " of " + std::string(error.declaredIn);
    if (!error.message.empty()) {
        described += " " + std::string(error.source) + " \"" + std::string(error.message) + "\"";
    }
    return described;
}

TEST(ErrorRegister, NoNumberIsTakenTwiceButThoseTheModelSharesOnPurpose) {
    std::map<int32_t, std::vector<RegisteredError>> byNumber;
    for (const RegisteredError& error : AllErrors()) {
        byNumber[error.offset].push_back(error);
    }
    for (const auto& [offset, errors] : byNumber) {
        if (errors.size() == 1) {
            continue;
        }
        SCOPED_TRACE(Describe(errors.front()));
        const bool shared = std::any_of(std::begin(kSharedNumbers), std::end(kSharedNumbers),
                                        [&](const SharedNumber& s) { return s.offset == offset; });
        EXPECT_TRUE(shared) << offset << " is taken by " << errors.size() << " definitions";
        for (const RegisteredError& error : errors) {
            EXPECT_EQ(error.declaredIn, errors.front().declaredIn) << Describe(error);
        }
    }
    for (const SharedNumber& shared : kSharedNumbers) {
        EXPECT_GT(byNumber[shared.offset].size(), 1u)
            << shared.offset << " is shared no more: take it off kSharedNumbers";
    }

    // A business object appends the store's reason to its own message by the store's range.
    for (const auto& [offset, errors] : byNumber) {
        EXPECT_EQ(offset > 2200 && offset < 2300,
                  errors.front().declaredIn == "src/suite/store/StoreErrors.h")
            << Describe(errors.front());
    }
    EXPECT_EQ(kItemChangedElsewhere, suite::ErrorNumber(suite::StoreError::Stale));
}

TEST(ErrorRegister, EveryMessageIsInEveryLanguage) {
    const struct {
        Translation translation;
        std::string program;
        std::vector<std::string> languages;
    } catalogs[] = {
        {Translation::Design, "QuarnDesign", {"CHS", "CHT", "EN"}},
        {Translation::CommandLine, "QuarnSubsysCli", {"CHS", "CHT"}},
    };
    for (const auto& [translation, program, languages] : catalogs) {
        for (const std::string& language : languages) {
            const Catalog catalog = LoadCatalog(program, language);
            for (const RegisteredError& error : AllErrors()) {
                if (error.translation != translation) {
                    continue;
                }
                const auto entry = catalog.find(std::string(error.message));
                EXPECT_TRUE(entry != catalog.end() && !entry->second.empty())
                    << program << "." << language << " lacks " << Describe(error);
            }
        }
    }
}

// The README's section "Error numbers" has a table of one row per number: "| 1042 | ... |".
TEST(ErrorRegister, EveryNumberHasOneRowInTheReadme) {
    std::ifstream readme(QUARN_README);
    ASSERT_TRUE(readme) << QUARN_README;
    const std::regex row(R"(^\| ([0-9]{4}) \|)");
    std::multiset<int32_t> documented;
    bool inSection = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.starts_with("## ")) {
            inSection = line == "## Error numbers";
        } else if (std::smatch match; inSection && std::regex_search(line, match, row)) {
            documented.insert(std::stoi(match[1]));
        }
    }
    std::set<int32_t> registered;
    for (const RegisteredError& error : AllErrors()) {
        registered.insert(error.offset);
    }
    for (const int32_t offset : registered) {
        EXPECT_EQ(documented.count(offset), 1u) << offset;
    }
    for (const int32_t offset : documented) {
        EXPECT_TRUE(registered.contains(offset)) << offset << " is documented, not registered";
    }
}

}  // namespace
}  // namespace quarn::subsysmgr::error_register
