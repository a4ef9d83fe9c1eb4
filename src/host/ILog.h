#pragma once

#include <cstdint>
#include <string>

#include "quarn/foundation/Variant.h"
#include "quarn/host/Component.h"

namespace quarn {

/// LKLogMsg.Log: the suite's diagnostic log.
class ILog : public virtual Component {
  public:
    /// Starts a record for a procedure; returns its 32-bit handle.
    virtual Variant LogStart(const std::string& procedure) = 0;
    /// Ends the record of a handle.
    virtual void LogEnd(int32_t handle, int32_t value) = 0;
    virtual bool IsEnabled() = 0;
};

}  // namespace quarn
