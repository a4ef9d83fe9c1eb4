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

void AppendPrintable(std::string& out, std::string_view text) {
    std::size_t at = 0;
    std::size_t kept = 0;  // where the run of characters copied as they are began
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            ++at;
            continue;
        }
        auto it = text.begin() + static_cast<std::ptrdiff_t>(at);
        uint32_t codePoint = 0;
        try {
            codePoint = utf8::next(it, text.end());
        } catch (const utf8::exception&) {
            // One byte at a time, so the valid text after a broken sequence is kept.
            out.append(text.substr(kept, at - kept));
            out += fmt::format("\\x{:02X}", byte);
            kept = ++at;
            continue;
        }
        const auto after = static_cast<std::size_t>(it - text.begin());
        const bool control = codePoint < 0x20 || codePoint == 0x7F;
        const bool named = (codePoint >= 0x80 && codePoint <= 0x9F) || ReordersText(codePoint);
        if (!control && !named && codePoint != '\\') {
            at = after;
            continue;
        }
        out.append(text.substr(kept, at - kept));
        if (control) {
            AppendControl(out, codePoint);
        } else if (named) {
            out += fmt::format("\\u{:04X}", codePoint);
        } else {
            out += "\\\\";
        }
        kept = at = after;
    }
    out.append(text.substr(kept));
}

std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendPrintable(out, text);
    return out;
}

}  // namespace quarn::subsysmgr::cli
