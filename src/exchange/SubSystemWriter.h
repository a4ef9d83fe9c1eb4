#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_set>

#include "exchange/ExchangeText.h"
#include "exchange/ItemInput.h"
#include "exchange/TreeItems.h"
#include "exchange/TreeReader.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// Adds, changes and deletes subsystems through the subsystem editor's input (SubSystemInput)
/// and its group's Save. Every refusal raises ComError; a write that
/// the store refuses raises error 1041 and leaves the stored subsystem as it was.
class SubSystemWriter {
  public:
    /// With WriteMode::CheckOnly additions and changes run every check and write nothing;
    /// such a writer deletes nothing.
    SubSystemWriter(std::shared_ptr<ModuleState> module, const ExchangeText& text,
                    WriteMode mode = WriteMode::Save);

    /// A group that a checked import adds first: subsystems may go into it as into a stored one.
    void AssumeGroup(int32_t groupId) { assumedGroups_.insert(groupId); }

    /// A new subsystem in item.group (the identifier must be free: error 1011).
    void Add(const SubSystemItem& item);
    /// Rewrites the subsystem, as it was when read at `version`, with every field of the item; a
    /// different item.group moves it. Raises 1042 when it has been changed or deleted since.
    void Update(const SubSystemItem& item, int64_t version);
    /// Changes the fields `change` sets on the subsystem as read here, once, so that the save's
    /// check against another user's change covers what the change started from. Returns the
    /// subsystem's identifier afterwards.
    int32_t Edit(int32_t id, const std::function<void(SubSystemItem&)>& change);
    /// Deletes a subsystem; raises kSubSystemNotDeleted when Save refused it after its message
    /// box, and 1042 when someone else changed or deleted it since it was read, or since
    /// `seenVersion` when the user saw it at that version.
    void Delete(int32_t id, std::optional<int64_t> seenVersion = std::nullopt);

  private:
    void Write(TreeReader::Loaded& loaded, const SubSystemItem& item);
    void RequireGroup(int32_t groupId);

    std::shared_ptr<ModuleState> module_;
    const ExchangeText& text_;
    WriteMode mode_;
    std::unordered_set<int32_t> assumedGroups_;
};

}  // namespace quarn::subsysmgr::exchange
