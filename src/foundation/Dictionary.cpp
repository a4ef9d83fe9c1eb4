#include "foundation/Dictionary.h"

#include <algorithm>

namespace quarn {

const Dictionary::Entry* Dictionary::Find(std::string_view key) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [key](const Entry& entry) { return entry.first == key; });
    return it == entries_.end() ? nullptr : &*it;
}

const Variant& Dictionary::Item(std::string_view key) const {
    static const Variant kEmpty;
    const Entry* entry = Find(key);
    return entry ? entry->second : kEmpty;
}

void Dictionary::Item(std::string_view key, Variant value) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [key](const Entry& entry) { return entry.first == key; });
    if (it != entries_.end()) {
        it->second = std::move(value);
        return;
    }
    entries_.emplace_back(std::string(key), std::move(value));
}

Variant Dictionary::Lookup(std::string_view key, Variant fallback) const {
    const Entry* entry = Find(key);
    return entry ? entry->second : std::move(fallback);
}

bool Dictionary::Exists(std::string_view key) const {
    return Find(key) != nullptr;
}

}  // namespace quarn
