#include "suite/ContextEntries.h"

#include "foundation/Utf8Text.h"

namespace quarn::suite {

std::optional<std::string> ContextEntry(std::string_view context, std::string_view key) {
    std::size_t start = 0;
    while (start < context.size()) {
        std::size_t end = context.find(';', start);
        if (end == std::string_view::npos) {
            end = context.size();
        }
        const std::string_view entry = context.substr(start, end - start);
        const std::size_t equals = entry.find('=');
        if (equals != std::string_view::npos &&
            text::EqualsIgnoreCaseAscii(entry.substr(0, equals), key)) {
            return std::string(entry.substr(equals + 1));
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace quarn::suite
