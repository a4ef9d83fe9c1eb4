#pragma once

#include <cstdint>
#include <string>

#include "quarn/foundation/Recordset.h"
#include "quarn/host/Component.h"

namespace quarn {

/// QuarnMClass.ClassDefineInfo: business-object definitions. Created for one call.
class IClassDefineInfo : public virtual Component {
  public:
    /// Multi-level approval flows of a subsystem: columns FID and FName.
    virtual RecordsetPtr GetMultiCheckFlows(const std::string& propsString,
                                            int32_t subSystemId) = 0;
    /// Work flows admitted by a selection text: columns FID and FName.
    virtual RecordsetPtr GetWorkFlows(const std::string& propsString,
                                      const std::string& selection) = 0;
};

}  // namespace quarn
