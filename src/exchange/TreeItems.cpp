#include "exchange/TreeItems.h"

#include <algorithm>
#include <charconv>

namespace quarn::subsysmgr::exchange {

const std::string& Names::In(std::string_view language) const {
    if (language == "EN") {
        return en;
    }
    if (language == "CHT") {
        return cht;
    }
    return chs;
}

DictionaryPtr NameDictionary(const Names& names) {
    auto dictionary = Dictionary::Create();
    dictionary->Item("CHS", names.chs);
    dictionary->Item("CHT", names.cht);
    dictionary->Item("EN", names.en);
    return dictionary;
}

std::vector<int32_t> ParseAccountTypes(std::string_view list) {
    std::vector<int32_t> types;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view entry = list.substr(0, comma);
        int32_t type = 0;
        const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), type);
        if (!entry.empty() && error == std::errc() && end == entry.data() + entry.size()) {
            types.push_back(type);
        }
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    std::sort(types.begin(), types.end());
    types.erase(std::unique(types.begin(), types.end()), types.end());
    return types;
}

std::string AccountTypeText(const std::vector<int32_t>& accountTypes) {
    std::string text;
    for (const int32_t type : accountTypes) {
        text += (text.empty() ? "" : ",") + std::to_string(type);
    }
    return text;
}

std::string FormatAccountTypes(const std::vector<int32_t>& accountTypes) {
    std::string list = ",";
    for (const int32_t type : accountTypes) {
        list += std::to_string(type) + ",";
    }
    return list;
}

}  // namespace quarn::subsysmgr::exchange
