#include "runtime/KeyedText.h"

#include <gtest/gtest.h>

#include "foundation/Utf8Text.h"

namespace quarn::subsysmgr {
namespace {

TEST(KeyedText, PadsOrCutsTheDisplayToFiveHundredTwelveCharactersBeforeTheKey) {
    const std::string longDisplay(600, 'd');
    const std::string entry = MakeKeyedText(longDisplay, "7");
    EXPECT_EQ(entry, std::string(512, 'd') + "7");
    EXPECT_EQ(SplitKeyedText(entry, true), "7");
    EXPECT_EQ(SplitKeyedText(entry, false), std::string(512, 'd'));

    const std::string shortEntry = MakeKeyedText(" 工业企业 ", "13");
    EXPECT_EQ(text::CodePointCount(shortEntry), 514u);
    EXPECT_EQ(SplitKeyedText(shortEntry, true), "13");
    EXPECT_EQ(SplitKeyedText(shortEntry, false), "工业企业");
}

TEST(KeyedText, CountsChineseTextInCharactersNotBytes) {
    std::string display;
    for (int i = 0; i < 600; ++i) {
        display += "账";
    }
    const std::string entry = MakeKeyedText(display, "5");
    EXPECT_EQ(text::CodePointCount(entry), 513u);
    EXPECT_EQ(SplitKeyedText(entry, true), "5");
    EXPECT_EQ(text::CodePointCount(SplitKeyedText(entry, false)), 512u);
}

TEST(KeyedText, ShortEntriesHaveNeitherKeyNorDisplay) {
    const std::string entry511(511, 'x');
    EXPECT_EQ(SplitKeyedText(entry511, true), "");
    EXPECT_EQ(SplitKeyedText(entry511, false), "");
    EXPECT_EQ(SplitKeyedText("", false), "");

    const std::string entry512 = std::string(500, 'x') + std::string(12, ' ');
    EXPECT_EQ(SplitKeyedText(entry512, true), "");
    EXPECT_EQ(SplitKeyedText(entry512, false), std::string(500, 'x'));
}

TEST(KeyedText, TheKeyIsKeptUntrimmed) {
    EXPECT_EQ(SplitKeyedText(MakeKeyedText("a", " 8 "), true), " 8 ");
}

}  // namespace
}  // namespace quarn::subsysmgr
