#pragma once

#include <cstdint>
#include <string>

#include "foundation/ComError.h"

namespace quarn::suite {

/// Offsets of the errors the store raises. Each message names the database and the problem.
enum class StoreError : int32_t {
    Unavailable = 2201,      ///< the database cannot be opened or reached
    NewerSchema = 2202,      ///< written by a newer version of this program
    Busy = 2203,             ///< locked by another writer for longer than the busy timeout
    Refused = 2204,          ///< a write the rules forbid: duplicate, orphan, name taken
    ReadOnly = 2205,         ///< a free query that would write
    QueryFailed = 2206,      ///< any other failure of a statement
    InvalidLocation = 2207,  ///< a Database entry the store does not understand
};

constexpr int32_t ErrorNumber(StoreError error) {
    return ObjectError(static_cast<int32_t>(error));
}

[[noreturn]] inline void RaiseStoreError(StoreError error, std::string source,
                                         std::string description) {
    throw ComError(ErrorNumber(error), std::move(source), std::move(description));
}

}  // namespace quarn::suite
