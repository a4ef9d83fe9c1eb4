#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "model/EditorInput.h"
#include "model/IdRanges.h"
#include "model/SubSystem.h"

namespace quarn::subsysmgr {

class SubSysGroup;

/// One edit of a subsystem, whoever makes it (the subsystem editor, the command line, an
/// import): its fields, and the editor's checks in the editor's order before the subsystem's
/// own rules and the save through its group.
class SubSystemInput : public EditorInput {
  public:
    /// An addition (kStatusAdd; with `broxAddition` in the Brox platform's range), an edit
    /// (kStatusEdit) of the subsystem given to Load, or (any other status) an addition without
    /// the check that the code is free.
    SubSystemInput(std::shared_ptr<ModuleState> module, int32_t status, bool broxAddition = false);

    /// The group object that saves the subsystem and the subsystem object the input goes into;
    /// the save makes what is null.
    void Use(std::shared_ptr<SubSysGroup> owner, SubSystemPtr subSystem);
    /// Use, taking the subsystem's fields and remembering its code and names, which its own
    /// save may keep.
    void Load(std::shared_ptr<SubSysGroup> owner, SubSystemPtr subSystem);
    const std::shared_ptr<SubSysGroup>& Owner() const { return owner_; }
    const SubSystemPtr& Edited() const { return subSystem_; }

    /// The codes a new subsystem may take here.
    ranges::IdRange CodeRange() const;
    /// The lowest code of CodeRange that no subsystem has, if any.
    std::optional<int32_t> NextFreeCode();

    /// The short code, as typed (it is stored untrimmed).
    std::string number;
    /// The identifier of the group the subsystem goes into; -1 for none chosen.
    int32_t group = -1;

  private:
    void Apply() override;
    void Write() override;

    bool broxAddition_;
    std::shared_ptr<SubSysGroup> owner_;
    SubSystemPtr subSystem_;
};

}  // namespace quarn::subsysmgr
