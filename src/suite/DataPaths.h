#pragma once

#include <filesystem>

#include "quarn/suite/SuiteErrors.h"

namespace quarn::suite {

/// The folder of the suite's data files (translation catalogs in "catalogs", help pages in
/// "help", the schema and demo data in "sql"): $QUARN_DATA_DIR when it is set, otherwise what
/// DataDirectoryBeside finds for the program or shared library that holds this code. Raises
/// ComError kDataFolderNotFound, naming every folder it looked in, when none holds catalogs.
std::filesystem::path DataDirectory();

/// The release file of the delivered tree this program ships, in the data folder. Raises as
/// DataDirectory.
std::filesystem::path ShippedReleaseFile();

/// The data folder for code loaded from the file `module`: share/quarn in its folder's parent
/// (an installation's bin/ or lib/), else in its grandparent (lib/<architecture>/, or a program
/// one level down in a build folder, which links its share/quarn to the sources). Raises as
/// DataDirectory.
std::filesystem::path DataDirectoryBeside(const std::filesystem::path& module);

}  // namespace quarn::suite
