#pragma once

#include <cstdint>

namespace quarn::subsysmgr {

/// What a group's next Save writes: the group itself, or its changed subsystems.
enum enm_OptType : int32_t {
    enm_OptType_Group = 0,
    enm_OptType_SubSystem = 1,
};

}  // namespace quarn::subsysmgr
