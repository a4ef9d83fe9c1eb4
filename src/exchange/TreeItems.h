#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Dictionary.h"

/// Groups and subsystems as plain values: what the tool lists, shows, exports and imports.
namespace quarn::subsysmgr::exchange {

/// A name in each of the suite's languages.
struct Names {
    std::string chs;
    std::string cht;
    std::string en;

    /// The name in a language code (CHS, CHT or EN); simplified Chinese for any other code.
    const std::string& In(std::string_view language) const;
    bool operator==(const Names&) const = default;
};

/// The names as the business objects' DictName takes them.
DictionaryPtr NameDictionary(const Names& names);

struct GroupItem {
    int32_t id = 0;
    Names names;
    int32_t index = 0;
    bool visible = true;
    bool web = false;
    /// Ascending, each once.
    std::vector<int32_t> accountTypes;

    bool operator==(const GroupItem&) const = default;
};

struct SubSystemItem {
    int32_t id = 0;
    int32_t group = 0;
    /// The short code (FSUBID).
    std::string number;
    Names names;
    int32_t index = 0;
    bool visible = true;
    bool web = false;
    /// Ascending, each once.
    std::vector<int32_t> accountTypes;

    bool operator==(const SubSystemItem&) const = default;
};

/// A group with its subsystems in display order.
struct GroupNode {
    GroupItem group;
    std::vector<SubSystemItem> subSystems;
};

/// The account types of a stored list such as ",1,3,": ascending, each once. Entries that are
/// no number are left out.
std::vector<int32_t> ParseAccountTypes(std::string_view list);
/// Account types as --acct-types takes them: "1,3".
std::string AccountTypeText(const std::vector<int32_t>& accountTypes);
/// The stored form of a list of account types: ",1,3,", or "," for none.
std::string FormatAccountTypes(const std::vector<int32_t>& accountTypes);

}  // namespace quarn::subsysmgr::exchange
