#pragma once

#include <cstdint>

namespace quarn {

/// A group or a subsystem of the tree, by kind and identifier.
struct TreeItemRef {
    enum class Kind { Group, SubSystem };
    Kind kind = Kind::Group;
    int32_t id = 0;

    bool operator==(const TreeItemRef&) const = default;
};

}  // namespace quarn
