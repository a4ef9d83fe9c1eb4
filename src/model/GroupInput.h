#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "model/EditorInput.h"
#include "model/IdRanges.h"

namespace quarn::subsysmgr {

class SubSysGroup;

/// One edit of a subsystem group, whoever makes it (the group editor, the command line, an
/// import): its fields, and the editor's checks in the editor's order before the group's own
/// rules and its save.
class GroupInput : public EditorInput {
  public:
    /// An addition (kStatusAdd; with `broxAddition` in the Brox platform's range) or an edit
    /// (kStatusEdit) of the group given to Load.
    GroupInput(std::shared_ptr<ModuleState> module, int32_t status, bool broxAddition = false);

    /// Takes the group's fields and its offered account types; the save rewrites this group.
    void Load(std::shared_ptr<SubSysGroup> group);
    /// The group the last save handed its input to (each addition makes a new one).
    const std::shared_ptr<SubSysGroup>& Group() const { return group_; }

    /// The codes a new group may take here.
    ranges::IdRange CodeRange() const;
    /// The lowest code of CodeRange that no group has, if any.
    std::optional<int32_t> NextFreeCode();

  private:
    void Apply() override;
    void Write() override;

    bool broxAddition_;
    std::shared_ptr<SubSysGroup> group_;
};

}  // namespace quarn::subsysmgr
