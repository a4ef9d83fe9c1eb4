#include "exchange/ItemFields.h"

#include <array>
#include <optional>
#include <utility>

namespace quarn::subsysmgr::exchange {

namespace {

// The columns of both tables; in a subsystem's, the group's identifier is its group.
constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kColumnKeys{{
    {"FTopClassID", "id"},
    {"FTopClassName_CHS", "names.CHS"},
    {"FTopClassName_CHT", "names.CHT"},
    {"FTopClassName_EN", "names.EN"},
    {"FSubSysID", "id"},
    {"FName_CHS", "names.CHS"},
    {"FName_CHT", "names.CHT"},
    {"FName_EN", "names.EN"},
    {"FSUBID", "number"},
    {"FIndex", "index"},
    {"FVisible", "visible"},
    {"FShowSysType", "web"},
    {"FAcctType", "accountTypes"},
}};

std::optional<std::string_view> KeyOf(std::string_view column, bool subSystem) {
    if (subSystem && column == "FTopClassID") {
        return "group";
    }
    for (const auto& [name, key] : kColumnKeys) {
        if (name == column) {
            return key;
        }
    }
    return std::nullopt;
}

// A stored value in the form the exchange file gives the field; null for none.
Json ExchangeValue(std::string_view key, const Variant& stored) {
    if (stored.IsNull() || stored.IsEmpty()) {
        return nullptr;
    }
    if (key == "visible") {
        return stored.ToInt32() != 0;
    }
    if (key == "web") {
        return (stored.ToInt32() & 2) == 2;
    }
    if (key == "accountTypes") {
        return ParseAccountTypes(stored.TextOrEmpty());
    }
    if (key == "id" || key == "group" || key == "index") {
        return stored.ToInt64();
    }
    return stored.TextOrEmpty();
}

}  // namespace

std::vector<FieldDifference> LoggedFields(const ItemChange& change) {
    const bool subSystem = change.item.kind == TreeItemRef::Kind::SubSystem;
    std::vector<FieldDifference> fields;
    for (const FieldChange& field : ChangedFields(change)) {
        const auto key = KeyOf(field.column, subSystem);
        if (!key) {
            continue;
        }
        Json before = ExchangeValue(*key, field.before);
        Json after = ExchangeValue(*key, field.after);
        if (before != after) {
            fields.push_back({std::string(*key), std::move(before), std::move(after)});
        }
    }
    return fields;
}

std::vector<FieldDifference> LoggedFields(const RecordChange& change) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kRecordKeys{{
        {"FDesc", "names.CHS"},
        {"FDesc_CHT", "names.CHT"},
        {"FDesc_EN", "names.EN"},
        {"FName", "name"},
        {"FDate", "date"},
    }};
    std::vector<FieldDifference> fields;
    for (const FieldChange& field : ChangedFields(change)) {
        for (const auto& [column, key] : kRecordKeys) {
            if (column == field.column) {
                fields.push_back({std::string(key), ExchangeValue(key, field.before),
                                  ExchangeValue(key, field.after)});
            }
        }
    }
    return fields;
}

}  // namespace quarn::subsysmgr::exchange
