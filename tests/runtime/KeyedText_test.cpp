#include "runtime/KeyedText.h"

#include <gtest/gtest.h>

#include "foundation/Utf8Text.h"

namespace quarn::subsysmgr {
namespace {

TEST(KeyedText, PadsOrCutsTheDisplayToFiveHundredTwelveCharactersBeforeAnUntrimmedKey) {
    const std::string entry = MakeKeyedText(std::string(600, 'd'), "7");
    EXPECT_EQ(entry, std::string(512, 'd') + "7");
    EXPECT_EQ(SplitKeyedText(entry, false), std::string(512, 'd'));

    const std::string padded = MakeKeyedText(" 工业企业 ", " 13 ");
    EXPECT_EQ(text::CodePointCount(padded), 516u);
    EXPECT_EQ(SplitKeyedText(padded, true), " 13 ");
    EXPECT_EQ(SplitKeyedText(padded, false), "工业企业");

    std::string chinese;  // counted in characters, not bytes
    for (int i = 0; i < 600; ++i) {
        chinese += "账";
    }
    const std::string cut = MakeKeyedText(chinese, "5");
    EXPECT_EQ(SplitKeyedText(cut, true), "5");
    EXPECT_EQ(text::CodePointCount(SplitKeyedText(cut, false)), 512u);
}

TEST(KeyedText, ShortEntriesHaveNeitherKeyNorDisplay) {
    EXPECT_EQ(SplitKeyedText(std::string(511, 'x'), true), "");
    EXPECT_EQ(SplitKeyedText(std::string(511, 'x'), false), "");
    EXPECT_EQ(SplitKeyedText("", false), "");
    const std::string entry512 = std::string(500, 'x') + std::string(12, ' ');
    EXPECT_EQ(SplitKeyedText(entry512, true), "");
    EXPECT_EQ(SplitKeyedText(entry512, false), std::string(500, 'x'));
}

}  // namespace
}  // namespace quarn::subsysmgr
