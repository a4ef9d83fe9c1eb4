#pragma once

#include <cstdint>

#include "quarn/foundation/Dictionary.h"
#include "quarn/foundation/Recordset.h"
#include "quarn/foundation/Variant.h"
#include "quarn/host/Component.h"

namespace quarn {

/// DataFlowInfo.DatasInfo: the read side of the functional tree, cached. One instance per
/// process is shared by every business object. Every Recordset it returns is the caller's own:
/// the caller filters and closes it. Failures raise ComError.
class IDatasInfo : public virtual Component {
  public:
    /// All groups, with the columns of t_DataFlowTopClass.
    virtual RecordsetPtr GetTopClass_All() = 0;
    /// The subsystems of one group (a 32-bit identifier), or of all groups for the 16-bit -1,
    /// with the columns of t_DataFlowSubSystem.
    virtual RecordsetPtr GetSubSystem_All(const Variant& groupId) = 0;
    /// The sub-functions of a subsystem.
    virtual RecordsetPtr GetSubFunc_All(int32_t subSystemId) = 0;
    /// Fills `info` (replacing a missing dictionary) with the subsystem's fields; true when the
    /// subsystem exists.
    virtual bool GetSubSystemInfo(double subSystemId, DictionaryPtr& info) = 0;
    /// The account types, columns FAcctType (code) and FDesc (description) at least.
    virtual RecordsetPtr GetAcctInfo(int16_t kind) = 0;
    /// Drops the cache; the next read returns current data.
    virtual void ClearCache() = 0;
    /// Re-reads what was written since the data was read.
    virtual void initial() = 0;

    virtual bool IsBroxQuery() const = 0;
    virtual void IsBroxQuery(bool value) = 0;
};

}  // namespace quarn
