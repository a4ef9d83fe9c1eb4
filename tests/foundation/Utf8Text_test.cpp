#include "foundation/Utf8Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace quarn::text {
namespace {

TEST(Utf8Text, CountsAndCutsWholeCodePoints) {
    EXPECT_EQ(CodePointCount(""), 0u);
    EXPECT_EQ(CodePointCount("销售管理"), 4u);

    const std::string mixed = "A销售é😀管理b";  // 1-, 3-, 2- and 4-byte characters
    const std::size_t count = CodePointCount(mixed);
    ASSERT_EQ(count, 8u);
    for (std::size_t n = 0; n <= count + 1; ++n) {
        SCOPED_TRACE(n);
        const std::string left = LeftCodePoints(mixed, n);
        const std::string rest = DropCodePoints(mixed, n);
        EXPECT_TRUE(IsValidUtf8(left));
        EXPECT_TRUE(IsValidUtf8(rest));
        EXPECT_EQ(CodePointCount(left), std::min(n, count));
        EXPECT_EQ(left + rest, mixed);
    }
    EXPECT_EQ(LeftCodePoints(mixed, 3), "A销售");
    EXPECT_EQ(DropCodePoints(mixed, 5), "管理b");
}

TEST(Utf8Text, TellsWellFormedTextFromEveryKindOfMalformedSequence) {
    for (const std::string_view valid :
         {"", "plain", "\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF",
          "\xEE\x80\x80", "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "A销售é😀管理b"}) {
        EXPECT_TRUE(IsValidUtf8(valid)) << valid;
    }
    for (const std::string_view invalid : {
             "\x80",              // a continuation without a lead
             "\xC0\xAF",          // overlong slash
             "\xC1\xBF",          // overlong
             "\xE0\x9F\xBF",      // overlong three bytes
             "\xF0\x8F\xBF\xBF",  // overlong four bytes
             "\xED\xA0\x80",      // a surrogate
             "\xF4\x90\x80\x80",  // past U+10FFFF
             "\xF5\x80\x80\x80",  // no such lead
             "\xFF",
             "\xE8\xFF"
             "A",             // a broken second byte
             "\xE4\xB8\x41",  // a broken third byte
             "\xF0\x9F\x98",  // cut short
             "ok\xC3",        // cut short at the end
         }) {
        EXPECT_FALSE(IsValidUtf8(invalid)) << testing::PrintToString(std::string(invalid));
    }
}

TEST(Utf8Text, TrimsSpacesOnlyAndFindsFoldingAsciiLettersOnly) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimBlanks("   "), "");

    EXPECT_EQ(FindIgnoreCaseAscii("select * FROM t", "from"), 9u);
    EXPECT_EQ(FindIgnoreCaseAscii("and AND and", "AND", 1), 4u);
    EXPECT_EQ(FindIgnoreCaseAscii("abc", "abcd"), std::string_view::npos);
    EXPECT_EQ(FindIgnoreCaseAscii("abc", "b", 4), std::string_view::npos);
    EXPECT_EQ(FindIgnoreCaseAscii("销售É", "é"), std::string_view::npos);
    EXPECT_EQ(FindIgnoreCaseAscii("销售É", "É"), 6u);
}

}  // namespace
}  // namespace quarn::text
