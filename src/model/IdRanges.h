#pragma once

#include <cstdint>

/// The identifier ranges that protect groups and subsystems delivered with the suite. Each
/// range is inclusive.
namespace quarn::subsysmgr::ranges {

struct IdRange {
    int32_t first;
    int32_t last;
    constexpr bool Contains(int32_t id) const { return id >= first && id <= last; }
};

/// Groups delivered with the suite: shown, never changed or deleted.
inline constexpr IdRange kDeliveredGroups{1, 799};
/// Customer-made groups: created, changed and deleted here.
inline constexpr IdRange kCustomerGroups{800, 899};
/// Groups of the Brox platform: created and changed here.
inline constexpr IdRange kBroxGroups{10000, 19999};

/// Subsystems delivered with the suite: shown, never changed or deleted.
inline constexpr IdRange kDeliveredSubSystems{1, 7999};
/// Customer-made subsystems: created, changed and deleted here.
inline constexpr IdRange kCustomerSubSystems{8000, 8999};
/// Subsystems of the Brox platform: created and changed here (199991-199999 are reserved).
inline constexpr IdRange kBroxSubSystems{100000, 199990};

}  // namespace quarn::subsysmgr::ranges
