#include "model/ItemRules.h"

#include <algorithm>

#include "foundation/Utf8Text.h"

namespace quarn::subsysmgr::rules {

bool IsCleanText(std::string_view text) {
    return text::IsValidUtf8(text) && std::none_of(text.begin(), text.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7F;
           });
}

bool FitsNameLength(std::string_view text) {
    // Every code point (or byte that is none) takes at least one byte: short texts need no count.
    return text.size() <= kNameMaxLength || text::CodePointCount(text) <= kNameMaxLength;
}

std::optional<std::string_view> ForbiddenCharIn(std::string_view text) {
    for (const std::string_view forbidden : kForbiddenChars) {
        if (text.find(forbidden) != std::string_view::npos) {
            return forbidden;
        }
    }
    return std::nullopt;
}

bool IsGroupCode(int32_t id) {
    return ranges::kDeliveredGroups.Contains(id) || ranges::kCustomerGroups.Contains(id) ||
           ranges::kBroxGroups.Contains(id);
}

bool IsSubSystemCode(int32_t id) {
    return ranges::kDeliveredSubSystems.Contains(id) || ranges::kCustomerSubSystems.Contains(id) ||
           ranges::kBroxSubSystems.Contains(id);
}

bool IsEditable(bool group, int32_t id) {
    if (group) {
        return ranges::kCustomerGroups.Contains(id) || ranges::kBroxGroups.Contains(id);
    }
    return ranges::kCustomerSubSystems.Contains(id) || ranges::kBroxSubSystems.Contains(id);
}

}  // namespace quarn::subsysmgr::rules
