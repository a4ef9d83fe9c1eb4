#include "suite/catalog/MessageFormatter.h"

#include <charconv>

namespace quarn::suite {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string MessageFormatter::FormatMessage(const std::string& templateText,
                                            const std::vector<Variant>& arguments) {
    std::string result;
    result.reserve(templateText.size());
    std::size_t pos = 0;
    while (pos < templateText.size()) {
        const std::size_t percent = templateText.find('%', pos);
        if (percent == std::string::npos || percent + 1 == templateText.size()) {
            result.append(templateText, pos, std::string::npos);
            break;
        }
        result.append(templateText, pos, percent - pos);
        const char* digits = templateText.data() + percent + 1;
        const char* end = digits;
        while (end != templateText.data() + templateText.size() && IsDigit(*end)) {
            ++end;
        }
        std::size_t number = 0;
        const bool isNumber = std::from_chars(digits, end, number).ec == std::errc();
        if (isNumber && number >= 1 && number <= arguments.size()) {
            result += arguments[number - 1].TextOrEmpty();
            pos = static_cast<std::size_t>(end - templateText.data());
        } else if (*digits == '%') {
            result += "%%";
            pos = percent + 2;
        } else {
            // Not a placeholder that has an argument: keep it, digits and all.
            result.append(templateText, percent, static_cast<std::size_t>(end - digits) + 1);
            pos = static_cast<std::size_t>(end - templateText.data());
        }
    }
    return result;
}

}  // namespace quarn::suite
