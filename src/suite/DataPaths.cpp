#include "suite/DataPaths.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "foundation/ComError.h"

namespace quarn::suite {

namespace {

constexpr const char* kSource = "DataPaths.DataDirectory";

/// Any object of this library: its address tells which loaded file holds the library.
const char kAnchor = 0;

/// `where` says where the folder was looked for, or why nowhere.
[[noreturn]] void RaiseNotFound(const std::string& where) {
    throw ComError(ObjectError(kDataFolderNotFound), kSource,
                   "The suite's data folder (catalogs, help pages, schema) was not found " + where +
                       ". Set QUARN_DATA_DIR to the folder that holds it.");
}

bool HoldsData(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder / "catalogs", error);
}

/// The file this library was loaded from: a shared library (the component library), or the
/// program itself when the static library was linked into it.
std::filesystem::path LoadedFrom() {
    Dl_info info{};
    link_map* object = nullptr;
    if (dladdr1(&kAnchor, &info, reinterpret_cast<void**>(&object), RTLD_DL_LINKMAP) == 0 ||
        object == nullptr) {
        return {};
    }
    std::error_code error;
    // The program's own entry has no name, and dladdr would only give its argv[0].
    const std::filesystem::path file = object->l_name[0] == '\0'
                                           ? std::filesystem::read_symlink("/proc/self/exe", error)
                                           : std::filesystem::path(object->l_name);
    return error ? std::filesystem::path() : std::filesystem::weakly_canonical(file, error);
}

}  // namespace

std::filesystem::path DataDirectory() {
    if (const char* fromEnvironment = std::getenv("QUARN_DATA_DIR");
        fromEnvironment && *fromEnvironment) {
        if (!HoldsData(fromEnvironment)) {
            RaiseNotFound("in " + std::string(fromEnvironment) + ", which QUARN_DATA_DIR names");
        }
        return fromEnvironment;
    }
    const std::filesystem::path module = LoadedFrom();
    if (module.empty()) {
        RaiseNotFound("because the file that holds the suite library is unknown");
    }
    return DataDirectoryBeside(module);
}

std::filesystem::path DataDirectoryBeside(const std::filesystem::path& module) {
    const std::filesystem::path folder = module.parent_path();
    const std::filesystem::path candidates[] = {
        (folder / ".." / QUARN_INSTALL_DATA_SUBDIR).lexically_normal(),
        (folder / ".." / ".." / QUARN_INSTALL_DATA_SUBDIR).lexically_normal(),
    };
    for (const auto& candidate : candidates) {
        if (HoldsData(candidate)) {
            return candidate;
        }
    }
    // Next to the root folder both are the same.
    RaiseNotFound("in " + candidates[0].string() +
                  (candidates[1] == candidates[0] ? "" : " or " + candidates[1].string()));
}

std::filesystem::path ShippedReleaseFile() {
    return DataDirectory() / "release" / "suite-release.json";
}

}  // namespace quarn::suite
