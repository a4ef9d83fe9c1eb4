#pragma once

#include <string>
#include <vector>

#include "quarn/foundation/Variant.h"
#include "quarn/host/Component.h"

namespace quarn {

/// The foundation library's message formatter.
class IMessageFormatter : public virtual Component {
  public:
    /// The template with %1 replaced by the first argument, %2 by the second, and so on.
    virtual std::string FormatMessage(const std::string& templateText,
                                      const std::vector<Variant>& arguments) = 0;
};

}  // namespace quarn
