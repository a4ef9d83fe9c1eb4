#include "Printable.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn::subsysmgr::cli {
namespace {

TEST(Printable, ShowsWhatCouldMoveTheTerminalAsEscapesAndLeavesTheRestAsItIs) {
    // Plain text, CJK and other scripts pass untouched.
    EXPECT_EQ(Printable(""), "");
    EXPECT_EQ(Printable("Dealer Portal"), "Dealer Portal");
    EXPECT_EQ(Printable("经销商门户 經銷商入口網站 Ümlaut ñ ١٢٣"),
              "经销商门户 經銷商入口網站 Ümlaut ñ ١٢٣");

    // C0 controls and DEL: a screen clear, a line break, NUL, a bell.
    EXPECT_EQ(Printable("A\x1B[2JB"), "A\\e[2JB");
    EXPECT_EQ(Printable("one\ntwo\rthree\tfour"), "one\\ntwo\\rthree\\tfour");
    EXPECT_EQ(Printable(std::string("a\0b", 3)), "a\\x00b");
    EXPECT_EQ(Printable("\x07\x1F\x7F"), "\\x07\\x1F\\x7F");

    // C1 controls arrive as code points (CSI is U+009B) and are named as such.
    EXPECT_EQ(Printable("\xC2\x9B"
                        "2J"),
              "\\u009B2J");
    EXPECT_EQ(Printable("\xC2\x80\xC2\x9F\xC2\xA0"), "\\u0080\\u009F\xC2\xA0");

    // Marks that reorder text around them, and their neighbours that do not.
    EXPECT_EQ(Printable("abc\u202Efed"), "abc\\u202Efed");
    EXPECT_EQ(Printable("\u202A\u202D\u2066\u2069\u200E\u200F\u061C"),
              "\\u202A\\u202D\\u2066\\u2069\\u200E\\u200F\\u061C");
    EXPECT_EQ(Printable("\u2029\u202F\u2065\u206A\u200D"), "\u2029\u202F\u2065\u206A\u200D");

    // Invalid UTF-8 byte by byte, the valid text after it kept: a broken lead, a stray
    // continuation, an overlong slash, an encoded surrogate, a cut sequence at the end.
    EXPECT_EQ(Printable("\xE8\xFF"
                        "A"),
              "\\xE8\\xFFA");
    EXPECT_EQ(Printable("x\x80y"), "x\\x80y");
    EXPECT_EQ(Printable("\xC0\xAF"), "\\xC0\\xAF");
    EXPECT_EQ(Printable("\xED\xA0\x80"), "\\xED\\xA0\\x80");
    EXPECT_EQ(Printable("中\xE6\x96"), "中\\xE6\\x96");

    // A stored backslash cannot pass for an escape: "\e" typed as two characters differs from
    // the escape character.
    EXPECT_EQ(Printable("C:\\dir"), "C:\\\\dir");
    EXPECT_EQ(Printable("\\e"), "\\\\e");
    EXPECT_NE(Printable("\\e"), Printable("\x1B"));
    EXPECT_NE(Printable("\\xFF"), Printable("\xFF"));
}

}  // namespace
}  // namespace quarn::subsysmgr::cli
