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
    /// Records a line of text that belongs to no procedure. The default, for a log that knows
    /// only procedures, records it as a procedure that starts and ends at once.
    virtual void LogNote(const std::string& text) { LogEnd(LogStart(text).ToInt32(), 0); }
};

}  // namespace quarn
