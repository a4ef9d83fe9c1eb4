#include "foundation/Utf8Text.h"

#include <locale.h>
#include <utf8.h>
#include <wctype.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace quarn::text {

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Byte offset just after `count` code points; invalid bytes count as one code point each.
std::size_t ByteOffsetAfter(std::string_view text, std::size_t count) {
    auto it = text.begin();
    const auto end = text.end();
    for (std::size_t n = 0; n < count && it != end; ++n) {
        auto next = it;
        try {
            utf8::next(next, end);
        } catch (const utf8::exception&) {
            next = it + 1;
        }
        it = next;
    }
    return static_cast<std::size_t>(it - text.begin());
}

// Unicode's case mappings: the C.UTF-8 locale of the C library, whatever the process's own locale;
// ASCII only where the library has none.
locale_t Utf8Locale() {
    static const locale_t kLocale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return kLocale;
}

// Calls `each` with every code point of the text, or -1 and the byte of an invalid sequence.
template <class Each>
void ForEachCodePoint(std::string_view text, Each&& each) {
    auto at = text.begin();
    while (at != text.end()) {
        const auto start = at;
        uint32_t c = 0;
        if (utf8::internal::validate_next(at, text.end(), c) != utf8::internal::UTF8_OK) {
            at = start + 1;
            each(-1, std::string_view(&*start, 1));
            continue;
        }
        each(static_cast<int64_t>(c),
             std::string_view(&*start, static_cast<std::size_t>(at - start)));
    }
}

wint_t LowerOf(wint_t c) {
    const locale_t locale = Utf8Locale();
    if (locale == locale_t{}) {
        return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
    }
    return towlower_l(c, locale);
}

wint_t UpperOf(wint_t c) {
    const locale_t locale = Utf8Locale();
    if (locale == locale_t{}) {
        return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
    }
    return towupper_l(c, locale);
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    ForEachCodePoint(text, [&](int64_t c, std::string_view bytes) {
        if (c < 0x80) {
            // ASCII and invalid bytes: the common case, without the locale.
            folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : bytes[0]);
            return;
        }
        utf8::unchecked::append(static_cast<uint32_t>(LowerOf(static_cast<wint_t>(c))),
                                std::back_inserter(folded));
    });
    return folded;
}

bool IsCaseless(std::string_view text) {
    bool caseless = true;
    ForEachCodePoint(text, [&](int64_t c, std::string_view) {
        if (c >= 0) {
            const auto wide = static_cast<wint_t>(c);
            caseless = caseless && LowerOf(wide) == wide && UpperOf(wide) == wide;
        }
    });
    return caseless;
}

// Checked byte by byte against the table of well-formed sequences (no overlong forms, no
// surrogates, nothing past U+10FFFF): whole-tree reads check every name, mostly ASCII.
bool IsValidUtf8(std::string_view text) {
    const auto* at = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = at + text.size();
    while (at != end) {
        const unsigned char lead = *at;
        if (lead < 0x80) {
            ++at;
            continue;
        }
        unsigned char low = 0x80;  // the second byte's range
        unsigned char high = 0xBF;
        std::ptrdiff_t length = 4;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;
            high = lead == 0xED ? 0x9F : high;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high;
        } else {
            return false;
        }
        if (end - at < length || at[1] < low || at[1] > high) {
            return false;
        }
        for (std::ptrdiff_t n = 2; n < length; ++n) {
            if ((at[n] & 0xC0) != 0x80) {
                return false;
            }
        }
        at += length;
    }
    return true;
}

std::size_t CodePointCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count) {
        pos += ByteOffsetAfter(text.substr(pos), 1);
    }
    return count;
}

std::string LeftCodePoints(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, ByteOffsetAfter(text, count)));
}

std::string DropCodePoints(std::string_view text, std::size_t count) {
    return std::string(text.substr(ByteOffsetAfter(text, count)));
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string ToUpperAscii(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), UpperAscii);
    return result;
}

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return UpperAscii(x) == UpperAscii(y);
           });
}

std::size_t FindIgnoreCaseAscii(std::string_view haystack, std::string_view needle,
                                std::size_t from) {
    if (from > haystack.size()) {
        return std::string_view::npos;
    }
    const auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(from),
                                haystack.end(), needle.begin(), needle.end(),
                                [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
    return it == haystack.end() && !needle.empty()
               ? std::string_view::npos
               : static_cast<std::size_t>(it - haystack.begin());
}

}  // namespace quarn::text
