#pragma once

#include <filesystem>

namespace quarn::suite {

/// The folder of the suite's data files (translation catalogs, help pages): $QUARN_DATA_DIR
/// when set, else the installed share folder next to the program, else the source tree's
/// resources folder of the build.
std::filesystem::path DataDirectory();

}  // namespace quarn::suite
