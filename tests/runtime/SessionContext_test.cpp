#include "runtime/SessionContext.h"

#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "foundation/ComError.h"
#include "host/ProgIds.h"

namespace quarn::subsysmgr {
namespace {

TEST(GetPropValue, ReadsAWholeKeyAtTheStartOfAnEntryWithoutRegardToCase) {
    fakes::FakeSuite suite;
    const struct {
        std::string context;
        std::string expected;
    } cases[] = {
        {"A=1;language=chs", "CHS"},            // no final semicolon, key in lower case
        {"Language=a=b;", "A=B"},               // the value runs to the next semicolon
        {"XLanguage=EN;Language=CHT;", "CHT"},  // a key ending in Language is another key
        {"DB=x;XLanguage=EN;", ""},
        {"Language=;", ""},  // an empty value is no language
        {"", ""},
        {std::string(40000, 'x') + ";Language=en;", "EN"},  // no length limit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.context.substr(0, 40));
        suite.SetContext(c.context);
        EXPECT_EQ(GetPropValue(*suite.module, "Language"), c.expected);
    }
}

TEST(GetPropValue, AMissingOrFailingStoreGivesEmptyValues) {
    fakes::FakeSuite suite;
    suite.SetContext("Language=EN;");
    suite.shareProps->failures.FailOn("GetProperty");
    EXPECT_EQ(GetPropsString(*suite.module), "");
    EXPECT_EQ(GetPropValue(*suite.module, "Language"), "");

    suite.Uninstall(progid::kShareProps);
    EXPECT_EQ(GetSessionLanguage(*suite.module), "");
    EXPECT_EQ(GetLanguageOrDefault(*suite.module), "CHS");
}

TEST(GetSessionLanguage, CachesTheFirstNonEmptyLanguageAndRereadsUntilThen) {
    fakes::FakeSuite suite;
    suite.SetContext("DB=demo;");
    EXPECT_EQ(GetSessionLanguage(*suite.module), "");
    EXPECT_EQ(GetSessionLanguage(*suite.module), "");
    EXPECT_EQ(suite.calls->CountOf("GetProperty"), 2u);  // uncached: the store is read each time

    suite.SetContext("Language=cht;");
    EXPECT_EQ(GetSessionLanguage(*suite.module), "CHT");
    suite.SetContext("Language=EN;");
    EXPECT_EQ(GetSessionLanguage(*suite.module), "CHT");
    EXPECT_EQ(suite.calls->CountOf("GetProperty"), 3u);

    // The business objects' language is read anew on every access.
    EXPECT_EQ(GetLanguageOrDefault(*suite.module), "EN");
}

TEST(GetDataFlowInfo, CreatesOneSharedInstanceAndSetsIsBroxQueryOnce) {
    fakes::FakeSuite suite;
    IDatasInfo& first = GetDataFlowInfo(*suite.module);
    IDatasInfo& second = GetDataFlowInfo(*suite.module);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(suite.Creations(progid::kDatasInfo), 1);
    EXPECT_EQ(suite.calls->CountOf("IsBroxQuery"), 1u);
    EXPECT_TRUE(first.IsBroxQuery());
}

TEST(GetDataFlowInfo, AFailedCreationPropagatesAndIsTriedAgain) {
    fakes::FakeSuite suite;
    suite.Uninstall(progid::kDatasInfo);
    EXPECT_THROW(GetDataFlowInfo(*suite.module), ComError);
    EXPECT_EQ(suite.module->dataFlowInfo, nullptr);

    suite.registry->Register(progid::kDatasInfo, [&] { return suite.datasInfo; });
    EXPECT_NO_THROW(GetDataFlowInfo(*suite.module));
}

TEST(GetAccountTypes, AsksForTheAccountTypesWithTheSixteenBitZero) {
    fakes::FakeSuite suite;
    suite.datasInfo->accountTypes = {{1, "Industry"}, {2, "Trade"}};
    const RecordsetPtr types = GetAccountTypes(*suite.module);
    EXPECT_EQ(types->RecordCount(), 2);
    const auto calls = suite.calls->CallsTo("GetAcctInfo");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments.at(0), Variant(int16_t{0}));

    suite.datasInfo->failures.FailOn("GetAcctInfo");
    EXPECT_THROW(GetAccountTypes(*suite.module), ComError);
}

}  // namespace
}  // namespace quarn::subsysmgr
