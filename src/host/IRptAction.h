#pragma once

#include <cstdint>
#include <string>

#include "foundation/Recordset.h"
#include "host/Component.h"

namespace quarn {

/// QuarnMCrossTab.RptAction: reports. Created for one call.
class IRptAction : public virtual Component {
  public:
    /// Reports: columns FID, FName and FType.
    virtual RecordsetPtr GetReportRs(const std::string& propsString, int16_t kind) = 0;
};

}  // namespace quarn
