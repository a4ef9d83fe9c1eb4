#pragma once

#include <array>
#include <cstdint>

#include "quarn/foundation/ComError.h"

namespace quarn {

/// Offsets of the errors raised by the shared types themselves. They report programming or data
/// faults (a filter that does not parse, a value of the wrong kind), so their texts are technical
/// and in English.
enum class FoundationError : int32_t {
    TypeMismatch = 2001,     ///< a Variant cannot be converted to the requested type
    FilterSyntax = 2002,     ///< a Recordset filter does not parse
    UnknownColumn = 2003,    ///< a Recordset column name that the Recordset does not have
    NoCurrentRow = 2004,     ///< a field read or a move past the end of data
    RecordsetClosed = 2005,  ///< any use of a closed Recordset
    IndexOutOfRange = 2006,  ///< a Vector position outside 0..Count-1
    MissingObject = 2007,    ///< an object was needed where there is none
};

/// Every error above, for the register of the system's numbers.
inline constexpr std::array kFoundationErrors{
    FoundationError::TypeMismatch,    FoundationError::FilterSyntax,
    FoundationError::UnknownColumn,   FoundationError::NoCurrentRow,
    FoundationError::RecordsetClosed, FoundationError::IndexOutOfRange,
    FoundationError::MissingObject,
};

constexpr int32_t ErrorNumber(FoundationError error) {
    return ObjectError(static_cast<int32_t>(error));
}

}  // namespace quarn
