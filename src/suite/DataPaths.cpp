#include "suite/DataPaths.h"

#include <cstdlib>
#include <system_error>

namespace quarn::suite {

namespace {

std::filesystem::path ExecutableDirectory() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

}  // namespace

std::filesystem::path DataDirectory() {
    if (const char* fromEnvironment = std::getenv("QUARN_DATA_DIR");
        fromEnvironment && *fromEnvironment) {
        return fromEnvironment;
    }
    const auto installed = ExecutableDirectory() / ".." / QUARN_INSTALL_DATA_SUBDIR;
    std::error_code error;
    if (std::filesystem::is_directory(installed / "catalogs", error)) {
        return installed.lexically_normal();
    }
    return QUARN_SOURCE_RESOURCES_DIR;
}

}  // namespace quarn::suite
