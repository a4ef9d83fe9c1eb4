#pragma once

#include <cstdint>

/// Offsets of the errors the suite raises outside its store, whose own are StoreError
/// (store/StoreErrors.h) within 2201-2299.
namespace quarn::suite {

/// The suite's data folder cannot be found (DataPaths.h). Its message is English: without the
/// folder there are no catalogs to translate it with.
inline constexpr int32_t kDataFolderNotFound = 2401;

}  // namespace quarn::suite
