#include "exchange/ExchangeFile.h"

#include <gtest/gtest.h>

#include "exchange/ExchangeErrors.h"
#include "exchange/ItemJson.h"
#include "foundation/ComError.h"
#include "host/ComponentRegistry.h"
#include "suite/HostSession.h"

namespace quarn::subsysmgr::exchange {
namespace {

class ExchangeFileTest : public ::testing::Test {
  protected:
    suite::HostSession session{"", "EN"};
    ExchangeText text{session.Registry(), "EN"};
};

const Exchange kSample{
    {GroupItem{
         850, {"客户化扩展", "客戶化擴充", "Custom \"Extensions\""}, 160, true, false, {1, 2, 3}},
     GroupItem{10001, {"平台", "平臺", "Platform"}, 0, false, true, {}}},
    {SubSystemItem{8001,
                   850,
                   "d'lr",
                   {"经销商门户", "經銷商入口網站", "Dealer's Portal"},
                   1,
                   true,
                   true,
                   {1, 3}}},
    ChainHead{42, "5f0c7e1d0b9a8c7d6e5f4a3b2c1d0e9f8a7b6c5d4e3f2a1b0c9d8e7f6a5b4c3d"},
};

// The file is written item by item, exactly as the JSON library writes the items' JSON: texts
// with quotes, backslashes, control characters and invalid UTF-8, empty lists.
TEST_F(ExchangeFileTest, WrittenAsTheJsonLibraryWritesTheItems) {
    Exchange tricky = kSample;
    tricky.subSystems.push_back(SubSystemItem{
        8002,
        850,
        "tab\there",
        {"引号\"和\\斜杠", "控制\x01\x1f\x7f\r\n", std::string("bad \xff\xfe utf-8 \xe4\xb8")},
        0,
        false,
        false,
        {}});
    for (const Exchange& exchange : {kSample, tricky, Exchange{}}) {
        EXPECT_EQ(ReadExchange(WriteExchange(exchange), "f", text).history, exchange.history)
            << "the head of the history comes back as written";
        Json groups = Json::array();
        for (const GroupItem& group : exchange.groups) {
            groups.push_back(ToJson(group));
        }
        Json subSystems = Json::array();
        for (const SubSystemItem& subSystem : exchange.subSystems) {
            subSystems.push_back(ToJson(subSystem));
        }
        Json file{{"format", kExchangeFormat}};
        if (exchange.history) {
            file["history"] = {{"change", exchange.history->change},
                               {"seal", exchange.history->seal}};
        }
        file["groups"] = groups;
        file["subsystems"] = subSystems;
        EXPECT_EQ(WriteExchange(exchange),
                  file.dump(2, ' ', false, Json::error_handler_t::replace) + "\n");
    }
}

TEST_F(ExchangeFileTest, AccountTypesAreReadInOrderOnceAndOtherMembersIgnored) {
    const Exchange read = ReadExchange(R"({"format": 1, "comment": "from test",
        "groups": [{"id": 860, "names": {"CHS": "a", "CHT": "b", "EN": "c", "FR": "d"},
                    "index": 0, "visible": true, "web": false, "accountTypes": [3, 1, 3],
                    "colour": "red"}],
        "subsystems": []})",
                                       "f", text);
    ASSERT_EQ(read.groups.size(), 1u);
    EXPECT_EQ(read.groups[0].accountTypes, (std::vector<int32_t>{1, 3}));
}

// The JSON library cannot hold such a number at all; where no member is read it is no fault.
TEST_F(ExchangeFileTest, ANumberBeyondADoubleInAMemberThatIsIgnoredIsIgnored) {
    const Exchange read = ReadExchange(R"({"format": 1, "size": 1e999, "groups": [],
        "subsystems": [{"id": 8300, "group": 860, "number": "1e999 \\\"1e999\"",
                        "names": {"CHS": "a", "CHT": "b", "EN": "c"}, "weight": [-2e400],
                        "index": 0, "visible": true, "web": false, "accountTypes": [1]}]})",
                                       "f", text);
    ASSERT_EQ(read.subSystems.size(), 1u);
    EXPECT_EQ(read.subSystems[0].number, R"(1e999 \"1e999")");
    EXPECT_EQ(read.subSystems[0].group, 860);
}

struct Malformed {
    const char* name;
    std::string content;
    int32_t offset;
    std::string inMessage;
};

std::string WithGroup(const std::string& group) {
    return R"({"format": 1, "subsystems": [], "groups": [)" + group + "]}";
}
const std::string kGroup =
    R"({"id": 860, "names": {"CHS": "a", "CHT": "b", "EN": "c"}, "index": 0, "visible": true,
        "web": false, "accountTypes": [1]})";

// What the import's golden cases show (no JSON, a newer format, a missing member of an item, an
// item twice, a number beyond a double) is not repeated here.
TEST_F(ExchangeFileTest, AFileThatIsNoCompleteExportNamesTheFirstFault) {
    const Malformed cases[] = {
        {"not an object", "[1, 2]", 2315, "the top level must be an object"},
        {"no format", R"({"groups": [], "subsystems": []})", 2314, "lacks format"},
        {"format as text", R"({"format": "1", "groups": [], "subsystems": []})", 2315,
         "format must be a whole number"},
        {"groups not a list", R"({"format": 1, "groups": {}, "subsystems": []})", 2315,
         "groups must be a list"},
        {"group not an object", WithGroup("7"), 2315, "groups[0] must be an object"},
        {"name missing", WithGroup(R"({"id": 860, "names": {"CHS": "a", "CHT": "b"}})"), 2314,
         "lacks groups[0].names.EN"},
        {"id as decimal", WithGroup(R"({"id": 860.0})"), 2315,
         "groups[0].id must be a whole number"},
        {"id beyond 32 bits", WithGroup(R"({"id": 2147483648})"), 2315,
         "groups[0].id must be a whole number"},
        {"id below 32 bits", WithGroup(R"({"id": -2147483649})"), 2315,
         "groups[0].id must be a whole number"},
        {"id as exponent", WithGroup(R"({"id": 1e10})"), 2315,
         "groups[0].id must be a whole number"},
        {"a number beyond a double before a fault of the syntax",
         WithGroup(R"({"id": 1e999, "index": 01})"), 2312, "is not JSON"},
        {"visible as number",
         WithGroup(R"({"id": 1, "names": {"CHS": "a", "CHT": "b", "EN": "c"}, "index": 0,
                       "visible": 1})"),
         2315, "groups[0].visible must be true or false"},
        {"account type as text",
         WithGroup(std::string(kGroup).replace(kGroup.find("[1]"), 3, R"([1, "3"])")), 2315,
         "groups[0].accountTypes[1] must be a whole number"},
        {"group as fraction",
         R"({"format": 1, "groups": [], "subsystems": [{"id": 8001, "group": 850.5}]})", 2315,
         "subsystems[0].group must be a whole number"},
    };
    for (const Malformed& malformed : cases) {
        SCOPED_TRACE(malformed.name);
        try {
            ReadExchange(malformed.content, "bad.json", text);
            ADD_FAILURE() << "read without an error";
        } catch (const ComError& error) {
            EXPECT_EQ(error.Number(), ObjectError(malformed.offset)) << error.Description();
            EXPECT_NE(error.Description().find(malformed.inMessage), std::string::npos)
                << error.Description();
            EXPECT_NE(error.Description().find("bad.json"), std::string::npos);
        }
    }
}

TEST(TreeItems, StoredAccountTypeListsLeaveOutWhatIsNoNumber) {
    EXPECT_EQ(ParseAccountTypes(",3,1,x,,3,12,"), (std::vector<int32_t>{1, 3, 12}));
    EXPECT_EQ(ParseAccountTypes(""), std::vector<int32_t>{});
    EXPECT_EQ(FormatAccountTypes({1, 3}), ",1,3,");
    EXPECT_EQ(AccountTypeText({1, 3}), "1,3");
}

}  // namespace
}  // namespace quarn::subsysmgr::exchange
