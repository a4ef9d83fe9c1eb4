#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "exchange/TreeItems.h"
#include "host/ITreeRows.h"
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

        bool operator==(const Stored&) const = default;
    };

    using OnGroup = std::function<void(const GroupItem&)>;
    using OnSubSystem = std::function<void(const SubSystemItem&)>;
    /// Hands over what Tree() holds, in its order, while it is read: each group, then each of its
    /// subsystems. The items are valid only during the call. A host with DataFlowInfo.TreeRows
    /// steps one read of the database straight through, holding only one group's subsystems to
    /// put them in order; without it the tree is read as Tree() reads it. What a callback raises
    /// ends the read and passes through.
    void EachInTree(const OnGroup& group, const OnSubSystem& subSystem);
    /// As EachInTree, the stored groups with an identifier in `groups` ordered by identifier, then
    /// the stored subsystems with an identifier in `subSystems` under a stored group, ordered by
    /// identifier. With DataFlowInfo.TreeRows only the rows in those ranges are read.
    void EachInRanges(const std::vector<IdSpan>& groups, const std::vector<IdSpan>& subSystems,
                      const OnGroup& group, const OnSubSystem& subSystem);

    /// Every group in display order.
    std::vector<GroupItem> Groups();
    std::vector<Stored<GroupItem>> StoredGroups();
    /// Every subsystem, as Tree() holds them, in no particular order.
    std::vector<SubSystemItem> SubSystems();
    std::vector<Stored<SubSystemItem>> StoredSubSystems();
    std::optional<GroupItem> FindGroup(int32_t id);
    std::optional<SubSystemItem> FindSubSystem(int32_t id);
    /// A subsystem read by its key from the shared rows and mapped as a group fills its
    /// collection from them, without loading its group; nothing when it is not stored.
    std::optional<SubSystemItem> SubSystemByKey(int32_t id);

    // The reads of the cached rows take the rows of the session's shared data-flow information
    // as they stand, revalidated against the database only by the first read after
    // RevalidateCache (or after a business object was made), and map them as the reads above
    // do: they serve a view that reads the tree often and revalidates once for many reads.

    /// What tells whether a stored row changed: every write gives the row a new version.
    struct RowKey {
        int32_t id = 0;
        int32_t index = 0;
        int64_t version = 0;
    };

    /// The next read brings the shared rows up to date (reading what the change log says
    /// changed since).
    void RevalidateCache();
    /// A group's row: its key, and its item unless the caller holds the row as it is.
    struct CachedGroup {
        RowKey key;
        std::optional<GroupItem> item;
    };
    /// Says whether the caller holds the row that `key` describes.
    using HeldRow = std::function<bool(const RowKey& key)>;
    /// Every group in display order, each with its item but those `held` holds (none: all).
    std::vector<CachedGroup> CachedGroups(const HeldRow& held = {});
    /// A group's subsystems in display order and then by identifier; none for an unknown group.
    std::vector<Stored<SubSystemItem>> CachedSubSystemsOf(int32_t group);

    /// Says whether the caller holds a group's rows as `keys` (in display order) describe them.
    using HeldRows = std::function<bool(int32_t group, const std::vector<RowKey>& keys)>;
    /// Told how far a long read is (done out of total); returns false to stop it.
    using Progress = std::function<bool(int64_t done, int64_t total)>;
    using SubSystemsByGroup = std::unordered_map<int32_t, std::vector<Stored<SubSystemItem>>>;
    /// Subsystems of more groups than this are read from every row at once, as the shared
    /// information itself reads them past this many groups; in a tree of many groups, more
    /// (see GroupsReadOneByOne).
    static constexpr std::size_t kGroupsReadOneByOne = 16;
    /// How many groups of a tree of `allGroups` are read one by one: a search that finds items
    /// in a few hundred of 10,000 groups reads those, not a million rows.
    static std::size_t GroupsReadOneByOne(std::size_t allGroups) {
        return std::max(kGroupsReadOneByOne, allGroups / 8);
    }
    /// The subsystems of `groups`, each group's as CachedSubSystemsOf gives them. Those of a few
    /// groups are read group by group; those of many from every row at once, first only the
    /// rows' keys and then the items of the groups whose keys `held` does not hold: the groups
    /// it holds are left out. Nothing when `progress` stopped the read.
    std::optional<SubSystemsByGroup> CachedSubSystemsOf(const std::vector<int32_t>& groups,
                                                        const HeldRows& held,
                                                        const Progress& progress);

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
