#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
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

bool HasCjk(std::string_view text) {
    // Every character of the CJK and fullwidth blocks takes three bytes in UTF-8.
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if ((lead & 0xF0) != 0xE0) {
            continue;
        }
        const unsigned c =
            (lead & 0x0Fu) << 12 | (text[i + 1] & 0x3Fu) << 6 | (text[i + 2] & 0x3Fu);
        if ((c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
            (c >= 0xFF00 && c <= 0xFFEF)) {
            return true;
        }
    }
    return false;
}

/// The string literals of C++ code, adjacent ones joined as the compiler joins them. Comments,
/// character literals and raw strings are skipped; \n and \t are decoded, other escapes give
/// the escaped character.
std::vector<std::string> StringLiterals(std::string_view code) {
    std::vector<std::string> literals;
    bool joinsLast = false;  // only white space and comments since the last literal
    std::size_t i = 0;
    auto skipPast = [&](std::string_view end, std::size_t from) {
        const std::size_t at = code.find(end, from);
        i = at == std::string_view::npos ? code.size() : at + end.size();
    };
    while (i < code.size()) {
        const char c = code[i];
        if (code.substr(i, 2) == "//") {
            skipPast("\n", i);
        } else if (code.substr(i, 2) == "/*") {
            skipPast("*/", i + 2);
        } else if (c == '"' && i > 0 && code[i - 1] == 'R') {
            const std::size_t open = code.find('(', i);
            skipPast(")" + std::string(code.substr(i + 1, open - i - 1)) + "\"", open);
            joinsLast = false;
        } else if (c == '\'' && !(i > 0 && std::isdigit(static_cast<unsigned char>(code[i - 1])))) {
            for (++i; i < code.size() && code[i] != '\''; ++i) {
                i += code[i] == '\\' ? 1 : 0;
            }
            ++i;
            joinsLast = false;
        } else if (c == '"') {
            std::string text;
            for (++i; i < code.size() && code[i] != '"'; ++i) {
                if (code[i] == '\\' && i + 1 < code.size()) {
                    ++i;
                    text += code[i] == 'n' ? '\n' : code[i] == 't' ? '\t' : code[i];
                } else {
                    text += code[i];
                }
            }
            ++i;
            if (joinsLast) {
                literals.back() += text;
            } else {
                literals.push_back(text);
            }
            joinsLast = true;
        } else {
            joinsLast = joinsLast && std::isspace(static_cast<unsigned char>(c));
            ++i;
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

Catalog LoadCatalog(const std::string& language) {
    std::ifstream file(fs::path(QUARN_RESOURCES_DIR) / "catalogs" /
                       ("QuarnDesign." + language + ".json"));
    return nlohmann::json::parse(file).get<Catalog>();
}

TEST(Catalog, ScanJoinsAndDecodesLiteralsAndSkipsCommentsAndRawStrings) {
    const auto literals = StringLiterals(R"cpp(
        // "注释" /* "注释" */
        /* "注释"
           "注释" */
        auto joined =
            "保存"  // the accelerator follows
            "(&S)";
        char quote = '"';
        long n = 1'000;
        auto escaped = u8"说\"明\"";
        auto raw = R"x("原文")x";
    )cpp");
    EXPECT_EQ(literals, (std::vector<std::string>{"保存(&S)", "说\"明\""}));
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

TEST(Catalog, LanguagesShareTheirKeysAndKeepThePlaceholders) {
    const Catalog simplified = LoadCatalog("CHS");
    for (const std::string language : {"CHS", "CHT", "EN"}) {
        const Catalog catalog = LoadCatalog(language);
        std::set<std::string> keys, expected;
        for (const auto& [key, value] : catalog) {
            keys.insert(key);
            if (key.find("%1") != std::string::npos) {
                EXPECT_NE(value.find("%1"), std::string::npos) << language << ": " << key;
            }
        }
        for (const auto& entry : simplified) {
            expected.insert(entry.first);
        }
        EXPECT_EQ(keys, expected) << language;
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
