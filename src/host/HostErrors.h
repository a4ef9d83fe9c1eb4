#pragma once

#include <array>
#include <cstdint>

#include "quarn/foundation/ComError.h"

namespace quarn {

/// Offsets of the errors raised by the component registry.
enum class HostError : int32_t {
    ComponentNotRegistered = 2101,  ///< no factory under the programmatic identifier
    InterfaceNotSupported = 2102,   ///< the created object lacks the interface the caller needs
};

/// Every error above, for the register of the system's numbers.
inline constexpr std::array kHostErrors{HostError::ComponentNotRegistered,
                                        HostError::InterfaceNotSupported};

constexpr int32_t ErrorNumber(HostError error) {
    return ObjectError(static_cast<int32_t>(error));
}

}  // namespace quarn
