#include "foundation/Vector.h"

#include <string>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"

namespace quarn {

const Variant& Vector::Item(std::size_t position) const {
    if (position >= items_.size()) {
        throw ComError(ErrorNumber(FoundationError::IndexOutOfRange), "Vector.Item",
                       "Position " + std::to_string(position) + " is outside a Vector of " +
                           std::to_string(items_.size()) + " items.");
    }
    return items_[position];
}

}  // namespace quarn
