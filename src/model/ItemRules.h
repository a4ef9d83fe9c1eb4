#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/IdRanges.h"

/// The rules of a single stored field, as plain predicates: the editors' checks raise their
/// errors on them, and the tree's health check reports the stored rows that break them.
namespace quarn::subsysmgr {

/// The longest name the editors take, in code points; a subsystem's short code is held to it too.
inline constexpr std::size_t kNameMaxLength = 40;
/// The display order the editors take.
inline constexpr ranges::IdRange kIndexRange{0, 1000};

/// Characters that no name or short code may contain, in the order they are reported: of
/// several in one text, the first of this list is named.
inline constexpr std::string_view kForbiddenChars[] = {"'", "_", "%"};

namespace rules {

/// Valid UTF-8 without a control character (C0 or DEL): what a name or short code may hold.
bool IsCleanText(std::string_view text);
/// At most kNameMaxLength code points.
bool FitsNameLength(std::string_view text);
/// The first of kForbiddenChars that `text` holds, if any.
std::optional<std::string_view> ForbiddenCharIn(std::string_view text);

/// A group's code lies in a range that groups have: the customer's, the Brox platform's, or the
/// delivered groups' below the customer's.
bool IsGroupCode(int32_t id);
/// A subsystem's code lies in a range that subsystems have, as IsGroupCode for groups.
bool IsSubSystemCode(int32_t id);
/// The items the editors write: the customer's and the Brox platform's. Only they need an account
/// type; a delivered item without any is shown to every account type.
bool IsEditable(bool group, int32_t id);

}  // namespace rules
}  // namespace quarn::subsysmgr
