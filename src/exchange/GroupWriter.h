#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "exchange/ExchangeText.h"
#include "exchange/ItemInput.h"
#include "exchange/TreeItems.h"
#include "model/SubSysGroup.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// Adds, changes and deletes groups through the group editor's input (GroupInput) and
/// SubSysGroup. Every refusal raises ComError before anything is written; a write that
/// the store refuses raises its error and leaves the stored group as it was.
class GroupWriter {
  public:
    /// With WriteMode::CheckOnly additions and changes run every check and write nothing;
    /// such a writer deletes nothing.
    GroupWriter(std::shared_ptr<ModuleState> module, const ExchangeText& text,
                WriteMode mode = WriteMode::Save);

    /// A new group (the identifier must be free: error 1012).
    void Add(const GroupItem& item);
    /// Rewrites the group, as it was when read at `version`, with every field of the item.
    /// Raises 1042 when it has been changed or deleted since.
    void Update(const GroupItem& item, int64_t version);
    /// Changes the fields `change` sets on the group as read here, once, so that the save's
    /// check against another user's change covers what the change started from. Returns the
    /// group's identifier afterwards.
    int32_t Edit(int32_t id, const std::function<void(GroupItem&)>& change);
    /// Deletes a group; raises kGroupNotDeleted when Save refused it after its message box, and
    /// 1042 when it is no longer at `seenVersion` (the version the user saw) or someone else
    /// changed it while it was deleted.
    void Delete(int32_t id, std::optional<int64_t> seenVersion = std::nullopt);

  private:
    void Write(std::shared_ptr<SubSysGroup> group, const GroupItem& item);

    std::shared_ptr<ModuleState> module_;
    const ExchangeText& text_;
    WriteMode mode_;
};

}  // namespace quarn::subsysmgr::exchange
