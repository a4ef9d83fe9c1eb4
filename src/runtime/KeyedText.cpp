#include "runtime/KeyedText.h"

#include "foundation/Utf8Text.h"

namespace quarn::subsysmgr {

std::string MakeKeyedText(std::string_view display, std::string_view key) {
    std::string padded = text::LeftCodePoints(display, kKeyedTextWidth);
    padded.append(kKeyedTextWidth - text::CodePointCount(padded), ' ');
    return padded + std::string(key);
}

std::string SplitKeyedText(std::string_view entry, bool wantKey) {
    if (text::CodePointCount(entry) < kKeyedTextWidth) {
        return {};
    }
    if (wantKey) {
        return text::DropCodePoints(entry, kKeyedTextWidth);
    }
    return std::string(text::TrimBlanks(text::LeftCodePoints(entry, kKeyedTextWidth)));
}

}  // namespace quarn::subsysmgr
