#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exchange/TreeItems.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace quarn::subsysmgr::cli {

using exchange::GroupItem;
using exchange::Names;
using exchange::SubSystemItem;

/// The flags of a group's or subsystem's fields on an add or edit command. Add takes the
/// identifier (--id, and --group for a subsystem) as required flags; edit changes only the
/// fields whose flags are given.
class ItemFlags {
  public:
    enum class Kind { Group, SubSystem };
    enum class Mode { Add, Edit };

    /// Adds the flags to the command. The object must outlive the parse.
    ItemFlags(CLI::App& command, Kind kind, Mode mode);

    /// Copies the given flags into the item. Their numbers were checked when the command line
    /// was parsed.
    void ApplyTo(GroupItem& item) const;
    void ApplyTo(SubSystemItem& item) const;
    bool AccountTypesGiven() const;
    /// --id auto: the item takes the editors' next free code.
    bool IdIsAuto() const;

  private:
    template <class Item>
    void ApplyCommon(Item& item) const;
    static bool Given(const CLI::Option* option);

    static constexpr const char* kAutoId = "auto";
    std::string id_;  // a decimal number or kAutoId, as the parser leaves it
    int32_t group_ = 0;
    std::string number_;
    Names names_;
    int32_t index_ = 0;
    bool visible_ = true;
    bool web_ = false;
    std::string accountTypes_;  // "1,3", as the parser leaves it

    CLI::Option* idOption_ = nullptr;
    CLI::Option* groupOption_ = nullptr;
    CLI::Option* numberOption_ = nullptr;
    CLI::Option* nameOptions_[3] = {};
    CLI::Option* indexOption_ = nullptr;
    CLI::Option* visibleOption_ = nullptr;
    CLI::Option* webOption_ = nullptr;
    CLI::Option* accountTypesOption_ = nullptr;
};

}  // namespace quarn::subsysmgr::cli
