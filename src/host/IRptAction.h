#pragma once

#include <cstdint>
#include <string>

#include "quarn/foundation/Recordset.h"
#include "quarn/host/Component.h"

namespace quarn {

/// QuarnMCrossTab.RptAction: reports. Created for one call.
class IRptAction : public virtual Component {
  public:
    /// Reports: columns FID, FName and FType.
    virtual RecordsetPtr GetReportRs(const std::string& propsString, int16_t kind) = 0;
};

}  // namespace quarn
