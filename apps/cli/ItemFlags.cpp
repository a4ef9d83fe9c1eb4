#include "ItemFlags.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>

#include "CliErrors.h"
#include "foundation/Utf8Text.h"

namespace quarn::subsysmgr::cli {

namespace {

// "1, 3" gives 1 and 3; "" none.
std::vector<int32_t> ParseAccountTypeFlag(const std::string& flag, const CliText& text) {
    std::vector<int32_t> types;
    std::string_view rest = flag;
    while (!text::TrimBlanks(rest).empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view entry = text::TrimBlanks(rest.substr(0, comma));
        int32_t type = 0;
        const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), type);
        if (entry.empty() || error != std::errc() || end != entry.data() + entry.size()) {
            text.Raise(errors::kAccountType, {std::string(entry)});
        }
        types.push_back(type);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    std::sort(types.begin(), types.end());
    types.erase(std::unique(types.begin(), types.end()), types.end());
    return types;
}

}  // namespace

ItemFlags::ItemFlags(CLI::App& command, Kind kind, Mode mode) {
    const bool add = mode == Mode::Add;
    if (add) {
        idOption_ = command.add_option("--id", id_, "Identifier")->required();
    }
    if (kind == Kind::SubSystem) {
        groupOption_ =
            command.add_option("--group", group_, "Identifier of the group")->required(add);
        numberOption_ = command.add_option("--number", number_, "Short code");
    }
    nameOptions_[0] = command.add_option("--name-chs", names_.chs, "Name in simplified Chinese");
    nameOptions_[1] = command.add_option("--name-cht", names_.cht, "Name in traditional Chinese");
    nameOptions_[2] = command.add_option("--name-en", names_.en, "Name in English");
    indexOption_ = command.add_option("--index", index_, "Display order, 0 to 1000");
    visibleOption_ =
        command.add_option("--visible", visible_, "Shown in the desktop client")->type_name("BOOL");
    webOption_ = command.add_option("--web", web_, "Shown on the web")->type_name("BOOL");
    accountTypesOption_ = command.add_option(
        "--acct-types", accountTypes_,
        "Account types it applies to, e.g. 1,3 (a new item gets the editors' first one)");
}

bool ItemFlags::Given(const CLI::Option* option) {
    return option && option->count() > 0;
}

bool ItemFlags::AccountTypesGiven() const {
    return Given(accountTypesOption_);
}

template <class Item>
void ItemFlags::ApplyCommon(Item& item, const CliText& text) const {
    if (Given(idOption_)) {
        item.id = id_;
    }
    std::string* const names[] = {&item.names.chs, &item.names.cht, &item.names.en};
    const std::string* const given[] = {&names_.chs, &names_.cht, &names_.en};
    for (int i = 0; i < 3; ++i) {
        if (Given(nameOptions_[i])) {
            *names[i] = *given[i];
        }
    }
    if (Given(indexOption_)) {
        item.index = index_;
    }
    if (Given(visibleOption_)) {
        item.visible = visible_;
    }
    if (Given(webOption_)) {
        item.web = web_;
    }
    if (Given(accountTypesOption_)) {
        item.accountTypes = ParseAccountTypeFlag(accountTypes_, text);
    }
}

void ItemFlags::ApplyTo(GroupItem& item, const CliText& text) const {
    ApplyCommon(item, text);
}

void ItemFlags::ApplyTo(SubSystemItem& item, const CliText& text) const {
    ApplyCommon(item, text);
    if (Given(groupOption_)) {
        item.group = group_;
    }
    if (Given(numberOption_)) {
        item.number = number_;
    }
}

}  // namespace quarn::subsysmgr::cli
