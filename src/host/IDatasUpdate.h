#pragma once

#include <cstdint>

#include "quarn/foundation/ComError.h"
#include "quarn/foundation/Dictionary.h"
#include "quarn/foundation/Variant.h"
#include "quarn/host/Component.h"

namespace quarn {

/// Item types that DeleteItem takes.
inline constexpr int16_t kUpdateItemGroup = 1000;
inline constexpr int32_t kUpdateItemSubSystem = 100000;

/// The error that DeleteItemIfUnchanged raises when someone else changed or deleted the item
/// since it was read; its message says when and by whom where the store knows it.
inline constexpr int32_t kItemChangedElsewhere = ObjectError(2212);

/// DataFlowInfo.DatasUpdate: the write side of the functional tree. A new instance serves one
/// save. Failures raise ComError.
///
/// Writes between BeginTransaction and CommitTransaction take effect together or not at all:
/// RollbackTransaction undoes every write since BeginTransaction. Outside a transaction each
/// write takes effect on its own.
///
/// A host's own update component needs only the original operations (the transactions,
/// DeleteItem, CreateTopClass, CreateSubSys): the row-version check has a default that does
/// without it.
class IDatasUpdate : public virtual Component {
  public:
    virtual void BeginTransaction() = 0;
    virtual void CommitTransaction() = 0;
    virtual void RollbackTransaction() = 0;

    /// Removes a group (item type: the 16-bit 1000) or a subsystem (the 32-bit 100000).
    virtual void DeleteItem(const Variant& itemType, int32_t itemId, bool flag) = 0;
    /// Removes the item as DeleteItem does, but only while its stored row still has `version`,
    /// the version it had when read; otherwise removes nothing and raises kItemChangedElsewhere.
    /// The default cannot compare versions: it removes the item with DeleteItem whatever its
    /// version, so another user's change since the read is overwritten unnoticed.
    virtual void DeleteItemIfUnchanged(const Variant& itemType, int32_t itemId,
                                       int64_t /*version*/) {
        DeleteItem(itemType, itemId, true);
    }
    /// Whether DeleteItemIfUnchanged compares versions: false for the default, true for a
    /// component that overrides both.
    virtual bool ComparesVersions() const { return false; }
    /// Inserts a group row from a group write record.
    virtual void CreateTopClass(int32_t index, DictionaryPtr record, bool flag) = 0;
    /// Inserts a subsystem row of group `groupId` from a subsystem write record.
    virtual void CreateSubSys(int32_t groupId, int32_t index, DictionaryPtr record, bool flag) = 0;
};

}  // namespace quarn
