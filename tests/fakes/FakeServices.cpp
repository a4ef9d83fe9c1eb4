#include "fakes/FakeServices.h"

namespace quarn::fakes {

std::string FakeMessageFormatter::FormatMessage(const std::string& templateText,
                                                const std::vector<Variant>& arguments) {
    Enter("FormatMessage", {templateText});
    std::string result = templateText;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string placeholder = "%" + std::to_string(i + 1);
        const std::string value = arguments[i].ToText();
        for (auto at = result.find(placeholder); at != std::string::npos;
             at = result.find(placeholder, at + value.size())) {
            result.replace(at, placeholder.size(), value);
        }
    }
    return result;
}

}  // namespace quarn::fakes
