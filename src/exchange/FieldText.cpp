#include "exchange/FieldText.h"

#include <array>

#include "exchange/FieldCaption.h"
#include "exchange/TreeReader.h"
#include "model/GroupEditorTexts.h"
#include "model/SubSystemEditorTexts.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::exchange {

namespace {

struct KeyCaption {
    std::string_view key;
    std::string_view caption;
};

constexpr std::array<KeyCaption, 8> kGroupCaptions{{
    {"id", group_editor::kIdCaption},
    {"names.CHS", group_editor::kNameCaption},
    {"names.CHT", group_editor::kNameCHTCaption},
    {"names.EN", group_editor::kNameENCaption},
    {"index", group_editor::kIndexCaption},
    {"visible", group_editor::kVisibleCaption},
    {"web", group_editor::kWebCaption},
    {"accountTypes", group_editor::kFitAcctCaption},
}};

constexpr std::array<KeyCaption, 10> kSubSystemCaptions{{
    {"id", subsystem_editor::kIdCaption},
    {"group", subsystem_editor::kGroupCaption},
    {"number", subsystem_editor::kNumberCaption},
    {"names.CHS", subsystem_editor::kNameCaption},
    {"names.CHT", subsystem_editor::kNameCHTCaption},
    {"names.EN", subsystem_editor::kNameENCaption},
    {"index", subsystem_editor::kIndexCaption},
    {"visible", subsystem_editor::kVisibleCaption},
    {"web", subsystem_editor::kWebCaption},
    {"accountTypes", subsystem_editor::kFitAcctCaption},
}};

}  // namespace

FieldText::FieldText(std::shared_ptr<ModuleState> module, const ExchangeText& text)
    : module_(std::move(module)), text_(text), language_(GetLanguageOrDefault(*module_)) {}

std::string FieldText::Caption(TreeItemRef::Kind kind, std::string_view key) const {
    const auto findIn = [&](const auto& captions) -> std::string {
        for (const KeyCaption& entry : captions) {
            if (entry.key == key) {
                return FieldCaption(*module_, entry.caption);
            }
        }
        return std::string(key);
    };
    return kind == TreeItemRef::Kind::Group ? findIn(kGroupCaptions) : findIn(kSubSystemCaptions);
}

std::string FieldText::RecordCaption(std::string_view key) const {
    static constexpr std::array<KeyCaption, 5> kRecordCaptions{{
        {"names.CHS", "Name (Simplified Chinese)"},
        {"names.CHT", "Name (Traditional Chinese)"},
        {"names.EN", "Name (English)"},
        {"name", "Release name"},
        {"date", "Release date"},
    }};
    for (const KeyCaption& entry : kRecordCaptions) {
        if (entry.key == key) {
            return text_.Text(entry.caption);
        }
    }
    return std::string(key);
}

std::string FieldText::Value(std::string_view key, const Json& value) const {
    if (value.is_null() || (value.is_array() && value.empty())) {
        return "-";
    }
    if (value.is_boolean()) {
        return text_.YesNo(value.get<bool>());
    }
    if (key == "group" && value.is_number_integer()) {
        return GroupText(value.get<int64_t>());
    }
    if (key == "accountTypes" && value.is_array()) {
        return AccountTypesText(value);
    }
    if (value.is_string()) {
        return value.get<std::string>().empty() ? "-" : value.get<std::string>();
    }
    return value.dump();  // a code or an order, digits without a separator
}

std::string FieldText::GroupText(int64_t id) const {
    auto found = groupNames_.find(id);
    if (found == groupNames_.end()) {
        std::string name;
        if (id >= INT32_MIN && id <= INT32_MAX) {
            if (const auto group = TreeReader(module_).FindGroup(static_cast<int32_t>(id))) {
                name = group->names.In(language_);
            }
        }
        found = groupNames_.emplace(id, std::move(name)).first;
    }
    return found->second.empty() ? std::to_string(id) : std::to_string(id) + ' ' + found->second;
}

std::string FieldText::AccountTypesText(const Json& codes) const {
    if (accountTypeNames_.empty()) {
        const RecordsetPtr types = GetAccountTypes(*module_);
        for (types->MoveFirst(); !types->Eof(); types->MoveNext()) {
            accountTypeNames_[types->Fields("FAcctType").ToInt64()] =
                types->Fields("FDesc").TextOrEmpty();
        }
    }
    // The list separator of the session language: "、" in Chinese.
    const std::string separator = text_.Text(", ");
    std::string text;
    for (const Json& code : codes) {
        const int64_t number = code.is_number_integer() ? code.get<int64_t>() : 0;
        const auto name = accountTypeNames_.find(number);
        text +=
            (text.empty() ? "" : separator) +
            (name == accountTypeNames_.end() || name->second.empty() ? code.dump() : name->second);
    }
    return text;
}

}  // namespace quarn::subsysmgr::exchange
