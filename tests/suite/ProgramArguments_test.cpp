#include "suite/ProgramArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "suite/store/StoreLocation.h"

namespace quarn::suite {
namespace {

std::string Stars(std::string_view text) {
    return std::string(text.size(), '*');
}

// The password as the store would connect with it.
std::string PasswordOf(const std::string& database) {
    return StoreLocation::FromDatabaseSpec(database).password;
}

TEST(ProgramArguments, EveryFormOfPasswordIsStarredWhereItStandsAndTheRestStaysReadable) {
    struct Case {
        std::string given;
        std::string shown;
    };
    const std::vector<Case> cases{
        {"postgresql:host=h dbname=d user=u password=s3cret",
         "postgresql:host=h dbname=d user=u password=******"},
        // The user's name holds the password's text: only the password is starred.
        {"postgresql:user=s3cret password=s3cret host=h",
         "postgresql:user=s3cret password=****** host=h"},
        {"postgresql:password='p w' sslpassword=key dbname=d",
         "postgresql:password='***' sslpassword=*** dbname=d"},
        // Given twice, libpq takes the last: both are starred.
        {"postgresql:password=first password=second", "postgresql:password=***** password=******"},
        {"postgresql://u:s3cret@h:5432/d", "postgresql://u:******@h:5432/d"},
        {"postgres://u@h/d?password=s3cret&sslmode=disable",
         "postgres://u@h/d?password=******&sslmode=disable"},
        // Written with an escape or percent-encoded: not found as it is read, so all is starred.
        {"postgresql:password='a\\'b' dbname=d",
         "postgresql:" + Stars("password='a\\'b' dbname=d")},
        {"postgresql://u:s%40cret@h/d", "postgresql://" + Stars("u:s%40cret@h/d")},
        // Unreadable for libpq, so nothing tells where a password might be.
        {"postgresql:host=h password='open", "postgresql:" + Stars("host=h password='open")},
        {"postgresql:host=h dbname=d user=u", "postgresql:host=h dbname=d user=u"},
        // libpq reads a value after blanks: this password is "dbname=d".
        {"postgresql:password= dbname=d", "postgresql:password= ********"},
        {"postgresql:password='' dbname=d", "postgresql:password='' dbname=d"},
        {"postgresql://u:first@h/d?password=second", "postgresql://u:*****@h/d?password=******"},
        {"suite password=x.sqlite", "suite password=x.sqlite"},
        {"sqlite:/tmp/password=x", "sqlite:/tmp/password=x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const std::string shown = WithSecretsStarred(c.given);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(shown.size(), c.given.size());
    }
    // What stays readable still names the same database.
    EXPECT_EQ(StoreLocation::FromDatabaseSpec(cases[0].shown).target,
              StoreLocation::FromDatabaseSpec(cases[0].given).target);
    EXPECT_EQ(PasswordOf(cases[5].shown), "******");
}

TEST(ProgramArguments, ParsersGetTheGivenArgumentsWhileArgvShowsNoPassword) {
    std::vector<std::string> given{"subsysmgr",
                                   "--db",
                                   "postgresql:host=h password=s3cret",
                                   "--db=postgresql://u:pw@h/d",
                                   "--name-en",
                                   "password=kept",
                                   "--db"};
    std::vector<char*> argv;
    for (std::string& argument : given) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const std::vector<std::string> original(given);

    ProgramArguments arguments(static_cast<int>(original.size()), argv.data());

    ASSERT_EQ(arguments.Count(), static_cast<int>(original.size()));
    for (std::size_t n = 0; n < original.size(); ++n) {
        EXPECT_EQ(arguments.Values()[n], original[n]);
    }
    EXPECT_EQ(arguments.Values()[original.size()], nullptr);
    EXPECT_STREQ(argv[2], "postgresql:host=h password=******");
    EXPECT_STREQ(argv[3], "--db=postgresql://u:**@h/d");
    // Only --db values are a database's: other options keep what they were given.
    EXPECT_STREQ(argv[5], "password=kept");
    EXPECT_STREQ(argv[6], "--db");
}

}  // namespace
}  // namespace quarn::suite
