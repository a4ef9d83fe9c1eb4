#include <gtest/gtest.h>
#include <unistd.h>
#include <utf8.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/Utf8Text.h"
#include "suite/catalog/ResLoader.h"

namespace quarn::suite {
namespace {

namespace fs = std::filesystem;
using Catalog = std::map<std::string, std::string>;

bool HasCjk(const std::string& text) {
    const utf8::iterator first(text.begin(), text.begin(), text.end());
    const utf8::iterator last(text.end(), text.begin(), text.end());
    return std::any_of(first, last, [](char32_t c) {
        return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
               (c >= 0xFF00 && c <= 0xFFEF);
    });
}

/// The string literals of C++ code, adjacent ones joined as the compiler joins them, escapes as
/// written. Raw strings, digit separators, character literals and comments are matched too, so
/// that no quote inside them starts a literal.
std::vector<std::string> StringLiterals(const std::string& code) {
    static const std::regex token(R"re(R"(\w*)\([\s\S]*?\)\1"|"((?:[^"\\\n]|\\.)*)"|\d')re"
                                  R"re(|'(?:[^'\\\n]|\\.)*'|//.*|/\*[\s\S]*?\*/)re");
    std::vector<std::string> literals;
    bool joins = false;  // only white space and comments since the last literal
    for (std::sregex_iterator it(code.begin(), code.end(), token), end; it != end; ++it) {
        joins = joins && it->prefix().str().find_first_not_of(" \t\r\n") == std::string::npos;
        if (!(*it)[2].matched) {
            joins = joins && it->str().front() == '/';
        } else if (joins) {
            literals.back() += (*it)[2];
        } else {
            literals.push_back((*it)[2]);
            joins = true;
        }
    }
    return literals;
}

/// Every text of the sources (libraries and apps) that the lookup may ask a catalog for,
/// trimmed as it trims.
std::set<std::string> SourceTexts() {
    std::set<std::string> texts{"Get System Group Failed."};
    const fs::path sources = QUARN_SOURCE_DIR;
    const fs::path demoData = sources / "suite" / "store" / "sql";
    for (const fs::path& folder : {sources, sources.parent_path() / "apps"}) {
        for (auto it = fs::recursive_directory_iterator(folder); it != fs::end(it); ++it) {
            if (it->path() == demoData) {
                it.disable_recursion_pending();  // demo data, not texts of the program
            }
            const fs::path extension = it->path().extension();
            if (extension != ".h" && extension != ".cpp") {
                continue;
            }
            std::stringstream code;
            code << std::ifstream(it->path()).rdbuf();
            for (const std::string& literal : StringLiterals(code.str())) {
                if (HasCjk(literal)) {
                    texts.emplace(text::TrimBlanks(literal));
                }
            }
        }
    }
    return texts;
}

Catalog LoadCatalog(const std::string& language, const std::string& program = "QuarnDesign") {
    std::ifstream file(fs::path(QUARN_RESOURCES_DIR) / "catalogs" /
                       (program + "." + language + ".json"));
    return nlohmann::json::parse(file).get<Catalog>();
}

std::multiset<std::string> Placeholders(const std::string& text) {
    static const std::regex placeholder("%[0-9]+");
    std::multiset<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), placeholder), end; it != end; ++it) {
        found.insert(it->str());
    }
    return found;
}

TEST(Catalog, EveryTextOfTheSourcesHasATranslationInEveryLanguage) {
    const auto texts = SourceTexts();
    ASSERT_TRUE(texts.contains("Larkin提示")) << "no texts found in " << QUARN_SOURCE_DIR;
    for (const std::string language : {"CHS", "CHT", "EN"}) {
        const Catalog catalog = LoadCatalog(language);
        std::string missing;
        for (const std::string& text : texts) {
            missing += catalog.contains(text) ? "" : "\n  " + text;
        }
        std::string empty;
        for (const auto& [key, value] : catalog) {
            empty += value.empty() ? "\n  " + key : "";
        }
        EXPECT_TRUE(missing.empty()) << "missing from the " << language << " catalog:" << missing;
        EXPECT_TRUE(empty.empty()) << "empty in the " << language << " catalog:" << empty;
    }
}

// Each program's catalogs (the designer's texts, and the command-line tool's, whose keys are
// English) have the keys of the simplified-Chinese one and keep every key's placeholders.
TEST(Catalog, LanguagesShareTheirKeysAndKeepThePlaceholders) {
    const struct {
        std::string program;
        std::vector<std::string> languages;
    } programs[] = {{"QuarnDesign", {"CHS", "CHT", "EN"}}, {"QuarnSubsysCli", {"CHS", "CHT"}}};
    for (const auto& [program, languages] : programs) {
        std::set<std::string> expected;
        for (const auto& entry : LoadCatalog("CHS", program)) {
            expected.insert(entry.first);
        }
        for (const std::string& language : languages) {
            SCOPED_TRACE(program + "." + language);
            std::set<std::string> keys;
            for (const auto& [key, value] : LoadCatalog(language, program)) {
                keys.insert(key);
                EXPECT_EQ(Placeholders(value), Placeholders(key)) << key;
            }
            EXPECT_EQ(keys, expected);
        }
    }
}

class ResLoaderTest : public ::testing::Test {
  protected:
    ResLoaderTest() {
        fs::create_directories(dir / "catalogs");
        setenv("QUARN_DATA_DIR", dir.c_str(), 1);
        loader.ResFileBaseName("QuarnDesign");
    }
    ~ResLoaderTest() override {
        unsetenv("QUARN_DATA_DIR");
        fs::remove_all(dir);
    }
    void Write(const fs::path& file, const std::string& content) {
        std::ofstream(dir / "catalogs" / file) << content;
    }

    // Catalogs are cached by path for the whole process: every test gets a folder of its own.
    const fs::path dir = fs::temp_directory_path() /
                         ("quarn-catalogs-" + std::to_string(getpid()) + "-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::shared_ptr<CatalogCache> catalogs = std::make_shared<CatalogCache>();
    ResLoader loader{catalogs};
};

TEST_F(ResLoaderTest, FollowsTheLanguageAndTakesNoLanguageAsSimplifiedChinese) {
    Write("QuarnDesign.CHS.json", R"json({"保存(&S)": "保存（简）"})json");
    Write("QuarnDesign.EN.json", R"json({"保存(&S)": "&Save"})json");
    loader.LanguageID("EN");
    EXPECT_EQ(loader.LoadString("保存(&S)"), "&Save");
    EXPECT_EQ(loader.LoadString("取消(&C)"), "取消(&C)");
    loader.LanguageID("");
    EXPECT_EQ(loader.LanguageID(), "");
    EXPECT_EQ(loader.LoadString("保存(&S)"), "保存（简）");

    // Parsed once: a changed file is not read again by this process.
    Write("QuarnDesign.EN.json", R"json({"保存(&S)": "Store"})json");
    ResLoader other{catalogs};
    other.ResFileBaseName("QuarnDesign");
    other.LanguageID("EN");
    EXPECT_EQ(other.LoadString("保存(&S)"), "&Save");
}

TEST_F(ResLoaderTest, MissingBrokenOrOutsideCatalogsGiveTheKeyBack) {
    Write("QuarnDesign.EN.json", R"({"帮助": )");
    Write("QuarnDesign.CHT.json", R"json({"帮助": 7})json");
    Write("../outside.CHS.json", R"json({"帮助": "outside"})json");
    ::testing::internal::CaptureStderr();
    for (const char* language : {"EN", "CHT", "EN", "FR"}) {
        loader.LanguageID(language);
        EXPECT_EQ(loader.LoadString("帮助"), "帮助") << language;
    }
    loader.ResFileBaseName("../outside");
    loader.LanguageID("");
    EXPECT_EQ(loader.LoadString("帮助"), "帮助");

    const std::string reports = ::testing::internal::GetCapturedStderr();
    const auto mentions = [&](const std::string& name) {
        std::size_t count = 0;
        for (auto at = reports.find(name); at != std::string::npos;
             at = reports.find(name, at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(mentions("QuarnDesign.EN.json"), 1u) << reports;
    EXPECT_EQ(mentions("QuarnDesign.CHT.json"), 1u) << reports;
}

}  // namespace
}  // namespace quarn::suite
