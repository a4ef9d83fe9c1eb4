#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quarn/host/Component.h"
#include "quarn/host/TreeItemRef.h"

namespace quarn {

/// An item a search found: a group, or a subsystem with its group.
struct TreeMatch {
    TreeItemRef item;
    /// The subsystem's group; the group's own identifier for a group.
    int32_t group = 0;

    bool operator==(const TreeMatch&) const = default;
};

/// DataFlowInfo.TreeSearch: finds groups and subsystems by a part of their code or names in the
/// database that the context string names (the session's own when it names none), through an
/// index the database keeps where it has one. Failures of the store raise ComError.
class ITreeSearch : public virtual Component {
  public:
    /// The groups and subsystems whose code (its decimal digits) or name in any language
    /// contains `text`, letters compared without regard to case; the groups in display order,
    /// then the subsystems in the tree's display order. Nothing for an empty text.
    virtual std::vector<TreeMatch> Find(const std::string& propsString,
                                        const std::string& text) = 0;
};

}  // namespace quarn
