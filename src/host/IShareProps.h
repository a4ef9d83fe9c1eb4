#pragma once

#include <cstdint>
#include <string>

#include "quarn/foundation/Variant.h"
#include "quarn/host/Component.h"

namespace quarn {

/// PropsMgr.ShareProps: the host process's shared properties, keyed by process id and name.
class IShareProps : public virtual Component {
  public:
    /// The value, or Empty when nothing is stored.
    virtual Variant GetProperty(int32_t processId, const std::string& name) = 0;
    /// Stores a value; the host publishes the session context string under "PropsString".
    virtual void SetProperty(int32_t processId, const std::string& name, Variant value) = 0;
};

}  // namespace quarn
