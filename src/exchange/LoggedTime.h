#pragma once

#include <optional>
#include <string>
#include <string_view>

/// The change log writes UTC times ("2026-12-07T12:23:12.848Z"); people read and type local ones.
namespace quarn::subsysmgr::exchange {

/// A logged UTC time as the local time of this machine, "2026-12-07 20:23:12"; a text that is no
/// logged time as it is.
std::string LocalTimeText(std::string_view loggedUtc);

/// A time a person typed, "2026-12-01" or "2026-12-01T08:30[:00]" (a space for the T too), read as
/// local time and given as the log's UTC "2026-12-01T00:30:00"; one that ends in Z is UTC already
/// and is given without the Z. Nullopt for any other text.
std::optional<std::string> UtcOfTypedTime(std::string_view typed);

}  // namespace quarn::subsysmgr::exchange
