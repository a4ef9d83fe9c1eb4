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
        {"Language=;", ""},                                 // an empty value is no language
        {std::string(40000, 'x') + ";Language=en;", "EN"},  // no length limit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.context.substr(0, 40));
        suite.SetContext(c.context);
        EXPECT_EQ(GetPropValue(*suite.module, "Language"), c.expected);
    }

    // A failing or missing property store gives empty values.
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

    suite.SetContext("Language=cht;");
    EXPECT_EQ(GetSessionLanguage(*suite.module), "CHT");
    suite.SetContext("Language=EN;");
    EXPECT_EQ(GetSessionLanguage(*suite.module), "CHT");
    // The business objects' language is read anew on every access.
    EXPECT_EQ(GetLanguageOrDefault(*suite.module), "EN");
}

TEST(GetDataFlowInfo, CreatesOneSharedInstanceWithIsBroxQueryAndRetriesAFailedCreation) {
    fakes::FakeSuite suite;
    suite.Uninstall(progid::kDatasInfo);
    EXPECT_THROW(GetDataFlowInfo(*suite.module), ComError);
    suite.registry->Register(progid::kDatasInfo, [&] { return suite.datasInfo; });

    IDatasInfo& first = GetDataFlowInfo(*suite.module);
    EXPECT_EQ(&first, &GetDataFlowInfo(*suite.module));
    EXPECT_TRUE(first.IsBroxQuery());
}

}  // namespace
}  // namespace quarn::subsysmgr
