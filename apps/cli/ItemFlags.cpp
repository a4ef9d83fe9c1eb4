#include "ItemFlags.h"

#include <CLI/CLI.hpp>
#include <string>

#include "DecimalNumber.h"

namespace quarn::subsysmgr::cli {

ItemFlags::ItemFlags(CLI::App& command, Kind kind, Mode mode) {
    const bool add = mode == Mode::Add;
    if (add) {
        idOption_ = command
                        .add_option("--id", id_,
                                    "Identifier, or auto: the lowest free one of the customer's "
                                    "range")
                        ->transform(CLI::IsMember({kAutoId}) | DecimalNumber())
                        ->required();
    }
    if (kind == Kind::SubSystem) {
        groupOption_ = command.add_option("--group", group_, "Identifier of the group")
                           ->transform(DecimalNumber())
                           ->required(add);
        numberOption_ = command.add_option("--number", number_, "Short code");
    }
    nameOptions_[0] = command.add_option("--name-chs", names_.chs, "Name in simplified Chinese");
    nameOptions_[1] = command.add_option("--name-cht", names_.cht, "Name in traditional Chinese");
    nameOptions_[2] = command.add_option("--name-en", names_.en, "Name in English");
    indexOption_ = command.add_option("--index", index_, "Display order, 0 to 1000")
                       ->transform(DecimalNumber());
    visibleOption_ =
        command.add_option("--visible", visible_, "Shown in the desktop client")->type_name("BOOL");
    webOption_ = command.add_option("--web", web_, "Shown on the web")->type_name("BOOL");
    constexpr const char* kAccountTypes =
        "Account types it applies to, e.g. 1,3 (a new item gets the editors' first one)";
    accountTypesOption_ =
        command.add_option("--acct-types", accountTypes_, kAccountTypes)->transform(DecimalList());
}

bool ItemFlags::Given(const CLI::Option* option) {
    return option && option->count() > 0;
}

bool ItemFlags::IdIsAuto() const {
    return Given(idOption_) && id_ == kAutoId;
}

bool ItemFlags::AccountTypesGiven() const {
    return Given(accountTypesOption_);
}

template <class Item>
void ItemFlags::ApplyCommon(Item& item) const {
    if (Given(idOption_) && !IdIsAuto()) {
        item.id = std::stoi(id_);
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
        item.accountTypes = exchange::ParseAccountTypes(accountTypes_);
    }
}

void ItemFlags::ApplyTo(GroupItem& item) const {
    ApplyCommon(item);
}

void ItemFlags::ApplyTo(SubSystemItem& item) const {
    ApplyCommon(item);
    if (Given(groupOption_)) {
        item.group = group_;
    }
    if (Given(numberOption_)) {
        item.number = number_;
    }
}

}  // namespace quarn::subsysmgr::cli
