#include "suite/catalog/MessageFormatter.h"

#include <gtest/gtest.h>

namespace quarn::suite {
namespace {

std::vector<Variant> Letters(char last) {
    std::vector<Variant> letters;
    for (char letter = 'a'; letter <= last; ++letter) {
        letters.emplace_back(std::string(1, letter));
    }
    return letters;
}

TEST(MessageFormatter, PutsTheArgumentsTextsInPlace) {
    MessageFormatter formatter;
    EXPECT_EQ(formatter.FormatMessage("录入的分组名称中不允许包含字符 %1 !", {Variant("_")}),
              "录入的分组名称中不允许包含字符 _ !");
    const std::vector<Variant> mixed{Variant("a"), Variant(int32_t{7}), Variant::Null()};
    EXPECT_EQ(formatter.FormatMessage("%2|%1|%3", mixed), "7|a|");
}

TEST(MessageFormatter, APlaceholderTakesAllItsDigits) {
    MessageFormatter formatter;
    EXPECT_EQ(formatter.FormatMessage("%10,%1,%11,%1 0", Letters('k')), "j,a,k,a 0");
    EXPECT_EQ(formatter.FormatMessage("%10,%12", Letters('i')), "%10,%12");
}

TEST(MessageFormatter, KeepsWhatIsNoPlaceholderWithAnArgument) {
    MessageFormatter formatter;
    EXPECT_EQ(formatter.FormatMessage("%2 %0 %x 100%% %%1 %", {Variant("a")}),
              "%2 %0 %x 100%% %%1 %");
    EXPECT_EQ(formatter.FormatMessage("%99999999999999999999", {Variant("a")}),
              "%99999999999999999999");
}

TEST(MessageFormatter, DoesNotScanInsertedTextsAgain) {
    MessageFormatter formatter;
    EXPECT_EQ(formatter.FormatMessage("%1%2", {Variant("%2"), Variant("b")}), "%2b");
}

}  // namespace
}  // namespace quarn::suite
