#include "DecimalNumber.h"

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Utf8Text.h"

namespace quarn::subsysmgr::cli {

namespace {

// from_chars reads base 10 only and takes a leading '-', but no '+', blank or prefix.
std::optional<int64_t> ReadDecimal(std::string_view text, int64_t min, int64_t max) {
    int64_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::string NotADecimal(std::string_view text, int64_t min, int64_t max) {
    return fmt::format("\"{}\" is not a decimal number from {} to {}", text, min, max);
}

}  // namespace

CLI::Validator DecimalNumber(int64_t min, int64_t max) {
    return CLI::Validator(
        [min, max](std::string& value) {
            const std::optional<int64_t> number = ReadDecimal(value, min, max);
            if (!number) {
                return NotADecimal(value, min, max);
            }
            value = std::to_string(*number);
            return std::string();
        },
        "");
}

CLI::Validator DecimalList() {
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    return CLI::Validator(
        [](std::string& value) {
            std::string plain;
            std::string_view rest = value;
            while (!text::TrimBlanks(rest).empty()) {
                const std::size_t comma = rest.find(',');
                const std::string_view entry = text::TrimBlanks(rest.substr(0, comma));
                const std::optional<int64_t> number = ReadDecimal(entry, kMin, kMax);
                if (!number) {
                    return NotADecimal(entry, kMin, kMax);
                }
                plain += (plain.empty() ? "" : ",") + std::to_string(*number);
                rest =
                    comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            }
            value = std::move(plain);
            return std::string();
        },
        "");
}

}  // namespace quarn::subsysmgr::cli
