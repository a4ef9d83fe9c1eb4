#include "Printable.h"

#include <fmt/format.h>
#include <utf8.h>

#include <cstdint>

namespace quarn::subsysmgr::cli {

namespace {

// Marks that change the order in which a terminal shows the text around them, so a name could
// pose as another.
bool ReordersText(uint32_t codePoint) {
    return (codePoint >= 0x202A && codePoint <= 0x202E) ||
           (codePoint >= 0x2066 && codePoint <= 0x2069) || codePoint == 0x200E ||
           codePoint == 0x200F || codePoint == 0x061C;
}

void AppendControl(std::string& out, uint32_t codePoint) {
    switch (codePoint) {
        case '\x1B':
            out += "\\e";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            out += fmt::format("\\x{:02X}", codePoint);
            return;
    }
}

}  // namespace

std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    auto it = text.begin();
    const auto end = text.end();
    while (it != end) {
        const auto start = it;
        uint32_t codePoint = 0;
        try {
            codePoint = utf8::next(it, end);
        } catch (const utf8::exception&) {
            // One byte at a time, so the valid text after a broken sequence is kept.
            out += fmt::format("\\x{:02X}", static_cast<unsigned char>(*start));
            it = start + 1;
            continue;
        }
        if (codePoint < 0x20 || codePoint == 0x7F) {
            AppendControl(out, codePoint);
        } else if ((codePoint >= 0x80 && codePoint <= 0x9F) || ReordersText(codePoint)) {
            out += fmt::format("\\u{:04X}", codePoint);
        } else if (codePoint == '\\') {
            out += "\\\\";
        } else {
            out.append(start, it);
        }
    }
    return out;
}

}  // namespace quarn::subsysmgr::cli
