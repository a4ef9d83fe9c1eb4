#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// Keyed list texts: a list or grid entry that carries a hidden key after its display text.
/// The entry is the display text padded with blanks or cut to exactly 512 characters (code
/// points), followed by the key.
namespace quarn::subsysmgr {

inline constexpr std::size_t kKeyedTextWidth = 512;
/// The maximum edit length a grid column needs to hold a keyed text.
inline constexpr std::size_t kKeyedTextMaxEditLength = 2000;

std::string MakeKeyedText(std::string_view display, std::string_view key);

/// The key (everything after character 512, untrimmed) when `wantKey`, otherwise the display
/// part (the first 512 characters without surrounding blanks). "" for an entry shorter than 512
/// characters.
std::string SplitKeyedText(std::string_view entry, bool wantKey);

}  // namespace quarn::subsysmgr
