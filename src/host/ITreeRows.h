#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "quarn/host/Component.h"

namespace quarn {

/// A group's stored fields as a whole-tree read hands them over. The texts are valid only during
/// the call they are passed to; a NULL text is empty.
struct GroupRow {
    int32_t id = 0;
    std::string_view nameCHS;
    std::string_view nameCHT;
    std::string_view nameEN;
    int32_t index = 0;
    int32_t visible = 0;
    int32_t showSysType = 0;
    std::string_view accountTypes;
};

/// A subsystem's stored fields, as GroupRow holds a group's.
struct SubSystemRow {
    int32_t id = 0;
    int32_t group = 0;
    std::string_view number;
    std::string_view nameCHS;
    std::string_view nameCHT;
    std::string_view nameEN;
    int32_t index = 0;
    int32_t visible = 0;
    int32_t showSysType = 0;
    std::string_view accountTypes;
};

/// Identifiers from `first` to `last`, both included.
struct IdSpan {
    int32_t first = 0;
    int32_t last = 0;
};

/// DataFlowInfo.TreeRows: the whole tree read straight from the database that the context
/// string names (the session's own when it names none), row by row, for output that walks it
/// once: nothing is cached, no row is kept. Each call reads in one read transaction, so what it
/// hands over is one committed state. Failures of the store raise ComError; what a callback
/// raises ends the read and passes through. Rows handed over before a failure stay handed over.
///
/// A host without this component has its tree read through DataFlowInfo.DatasInfo instead.
class ITreeRows : public virtual Component {
  public:
    using OnGroup = std::function<void(const GroupRow&)>;
    using OnSubSystem = std::function<void(const SubSystemRow&)>;

    /// Every group in display order (by index, then identifier), each followed by its
    /// subsystems in no particular order. Subsystems of a group that is not stored are left
    /// out.
    virtual void ReadTree(const std::string& propsString, const OnGroup& group,
                          const OnSubSystem& subSystem) = 0;

    /// The groups with an identifier in `groups` ordered by identifier, then the subsystems with
    /// an identifier in `subSystems` whose group is stored (in any range), ordered by identifier.
    virtual void ReadRanges(const std::string& propsString, const std::vector<IdSpan>& groups,
                            const std::vector<IdSpan>& subSystems, const OnGroup& group,
                            const OnSubSystem& subSystem) = 0;

    /// Every stored group, then every stored subsystem (also one whose group is not stored),
    /// each table in one scan in no particular order: for work that looks at each row once.
    virtual void ReadTables(const std::string& propsString, const OnGroup& group,
                            const OnSubSystem& subSystem) = 0;
};

}  // namespace quarn
