#include "suite/catalog/MessageFormatter.h"

#include <gtest/gtest.h>

namespace quarn::suite {
namespace {

TEST(MessageFormatter, PutsEachArgumentsTextInPlaceOfItsWholePlaceholderOnce) {
    std::vector<Variant> letters;
    for (char letter = 'a'; letter <= 'k'; ++letter) {
        letters.emplace_back(std::string(1, letter));
    }
    const struct {
        std::string templateText;
        std::vector<Variant> arguments;
        std::string expected;
    } cases[] = {
        {"录入的分组名称中不允许包含字符 %1 !", {"_"}, "录入的分组名称中不允许包含字符 _ !"},
        {"%2|%1|%3", {"a", int32_t{7}, Variant::Null()}, "7|a|"},
        {"%10,%1,%11,%1 0", letters, "j,a,k,a 0"},  // a placeholder takes all its digits
        {"%10,%12", {letters.begin(), letters.begin() + 9}, "%10,%12"},
        // What is no placeholder with an argument stays.
        {"%2 %0 %x 100%% %%1 %", {"a"}, "%2 %0 %x 100%% %%1 %"},
        {"%99999999999999999999", {"a"}, "%99999999999999999999"},
        {"%1%2", {"%2", "b"}, "%2b"},  // inserted texts are not scanned again
    };
    MessageFormatter formatter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateText);
        EXPECT_EQ(formatter.FormatMessage(c.templateText, c.arguments), c.expected);
    }
}

}  // namespace
}  // namespace quarn::suite
