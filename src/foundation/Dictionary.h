#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quarn/foundation/Variant.h"

namespace quarn {

/// Text keys mapped to Variants, kept in insertion order. Keys are compared exactly.
/// Held by DictionaryPtr: a Dictionary has reference semantics, Copy makes a new one.
class Dictionary {
  public:
    using Entry = std::pair<std::string, Variant>;

    static DictionaryPtr Create() { return std::make_shared<Dictionary>(); }

    /// The value under the key; Empty when the key is absent.
    const Variant& Item(std::string_view key) const;
    /// Sets the value under the key: replaces it in place, or appends a new entry.
    void Item(std::string_view key, Variant value);

    /// The value under the key, or `fallback` when the key is absent.
    Variant Lookup(std::string_view key, Variant fallback = {}) const;

    bool Exists(std::string_view key) const;
    std::size_t Count() const { return entries_.size(); }
    void RemoveAll() { entries_.clear(); }
    /// Makes room for `count` entries at once, for dictionaries filled in a loop.
    void Reserve(std::size_t count) { entries_.reserve(count); }

    /// A new Dictionary with the same entries; object values are shared, not copied.
    DictionaryPtr Copy() const { return std::make_shared<Dictionary>(*this); }

    const std::vector<Entry>& Entries() const { return entries_; }

  private:
    const Entry* Find(std::string_view key) const;

    std::vector<Entry> entries_;  // a handful of keys: a linear search beats hashing
};

}  // namespace quarn
