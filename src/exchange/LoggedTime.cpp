#include "exchange/LoggedTime.h"

#include <fmt/format.h>

#include <ctime>
#include <regex>

namespace quarn::subsysmgr::exchange {

namespace {

// Seconds since the epoch of "YYYY-MM-DD[Thh:mm[:ss[.fff]]]" read as UTC or as local time.
std::optional<std::time_t> Seconds(std::string_view text, bool utc, std::string* fraction) {
    static const std::regex kTime(
        R"((\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2})(\.\d{1,6})?)?)?)");
    std::match_results<std::string_view::const_iterator> parts;
    if (!std::regex_match(text.begin(), text.end(), parts, kTime)) {
        return std::nullopt;
    }
    const auto number = [&](std::size_t part) {
        return parts[part].matched ? std::stoi(parts[part].str()) : 0;
    };
    std::tm fields{};
    fields.tm_year = number(1) - 1900;
    fields.tm_mon = number(2) - 1;
    fields.tm_mday = number(3);
    fields.tm_hour = number(4);
    fields.tm_min = number(5);
    fields.tm_sec = number(6);
    fields.tm_isdst = -1;  // local: let the zone's rules say whether summer time applies
    if (fraction) {
        *fraction = parts[7].str();
    }
    const std::time_t seconds = utc ? timegm(&fields) : std::mktime(&fields);
    if (seconds == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return seconds;
}

std::string_view WithoutZ(std::string_view text) {
    return text.ends_with('Z') ? text.substr(0, text.size() - 1) : text;
}

}  // namespace

std::string LocalTimeText(std::string_view loggedUtc) {
    const auto seconds = Seconds(WithoutZ(loggedUtc), true, nullptr);
    std::tm local{};
    if (!seconds || !localtime_r(&*seconds, &local)) {
        return std::string(loggedUtc);
    }
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", local.tm_year + 1900,
                       local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

std::optional<std::string> UtcOfTypedTime(std::string_view typed) {
    std::string fraction;
    const bool utc = typed.ends_with('Z');
    const auto seconds = Seconds(WithoutZ(typed), utc, &fraction);
    std::tm fields{};
    if (!seconds || !gmtime_r(&*seconds, &fields)) {
        return std::nullopt;
    }
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}{}", fields.tm_year + 1900,
                       fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min,
                       fields.tm_sec, fraction);
}

}  // namespace quarn::subsysmgr::exchange
