#pragma once

#include <cstdint>

#include "foundation/ComError.h"

namespace quarn {

/// The number of the ComError that `action` raises, or 0 when it raises none.
template <class Action>
int32_t RaisedError(Action&& action) {
    try {
        action();
    } catch (const ComError& error) {
        return error.Number();
    }
    return 0;
}

}  // namespace quarn
