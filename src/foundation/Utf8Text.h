#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// Text helpers for UTF-8 text. Lengths count Unicode code points, never bytes.
namespace quarn::text {

bool IsValidUtf8(std::string_view text);

/// Number of code points; each byte of an invalid sequence counts as one.
std::size_t CodePointCount(std::string_view text);

/// The first `count` code points of the text (all of it when shorter).
std::string LeftCodePoints(std::string_view text, std::size_t count);

/// Everything after the first `count` code points (empty when the text is not longer).
std::string DropCodePoints(std::string_view text, std::size_t count);

/// The text without leading and trailing blanks (the space character only, as the suite trims).
std::string_view TrimBlanks(std::string_view text);

/// Upper-cases ASCII letters and leaves every other character as it is.
std::string ToUpperAscii(std::string_view text);

/// The text in lower case, character by character (Unicode's simple case mapping, as the C.UTF-8
/// locale knows it), so that two texts that differ only in case become equal in any language.
/// Bytes of an invalid sequence are kept as they are.
std::string FoldCase(std::string_view text);

/// Whether no character of the text has another case (Chinese, digits, punctuation): then
/// comparing it with folded text is the same as comparing it as it is.
bool IsCaseless(std::string_view text);

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

/// Byte position of the first occurrence of `needle`, comparing ASCII letters without regard to
/// case; npos when absent.
std::size_t FindIgnoreCaseAscii(std::string_view haystack, std::string_view needle,
                                std::size_t from = 0);

}  // namespace quarn::text
