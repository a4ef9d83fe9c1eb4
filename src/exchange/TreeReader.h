#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "exchange/TreeItems.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// Reads groups and subsystems as the editors load them: groups and single subsystems through the
/// business objects; the subsystems of the whole tree from the rows of the shared data-flow
/// information, mapped as a group fills its collection from them (filling a business object per
/// subsystem costs many times the read of a tree of 100,000). Failures of the store pass
/// through as the business objects report them.
class TreeReader {
  public:
    explicit TreeReader(std::shared_ptr<ModuleState> module);

    /// Every group in display order, each with its subsystems ordered by display order and
    /// then identifier.
    std::vector<GroupNode> Tree();
    /// An item with the version of its stored row when it was read.
    template <class Item>
    struct Stored {
        Item item;
        int64_t version = 0;
    };

    /// Every group in display order.
    std::vector<GroupItem> Groups();
    std::vector<Stored<GroupItem>> StoredGroups();
    /// Every subsystem, as Tree() holds them, in no particular order.
    std::vector<SubSystemItem> SubSystems();
    std::vector<Stored<SubSystemItem>> StoredSubSystems();
    std::optional<GroupItem> FindGroup(int32_t id);
    std::optional<SubSystemItem> FindSubSystem(int32_t id);

    /// A subsystem as its group's collection holds it, with that group loaded.
    struct Loaded {
        std::shared_ptr<SubSysGroup> group;
        SubSystemPtr subSystem;
    };
    /// Nothing when no group has the subsystem. Reads only that subsystem's group.
    std::optional<Loaded> LoadSubSystem(int32_t id);

    static GroupItem ItemOf(const SubSysGroup& group);
    static SubSystemItem ItemOf(const SubSystem& subSystem);

  private:
    std::shared_ptr<ModuleState> module_;
};

}  // namespace quarn::subsysmgr::exchange
