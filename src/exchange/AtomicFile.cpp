#include "exchange/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <span>
#include <system_error>

namespace quarn::subsysmgr::exchange {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void RaiseErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// The temporary file until it is renamed: closed and removed when anything fails.
class TemporaryFile {
  public:
    explicit TemporaryFile(const fs::path& beside)
        : path_((beside.parent_path() / ("." + beside.filename().string() + ".XXXXXX")).string()) {
        descriptor_ = mkstemp(path_.data());
        if (descriptor_ < 0) {
            RaiseErrno(path_);
        }
    }
    ~TemporaryFile() {
        if (descriptor_ >= 0) {
            close(descriptor_);
        }
        if (!renamed_) {
            unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Descriptor() const { return descriptor_; }

    // Flushes the content to the disk and renames the file into place.
    void RenameTo(const fs::path& target) {
        if (fsync(descriptor_) != 0) {
            RaiseErrno(path_);
        }
        const int descriptor = descriptor_;
        descriptor_ = -1;
        if (close(descriptor) != 0) {
            RaiseErrno(path_);
        }
        if (rename(path_.c_str(), target.c_str()) != 0) {
            RaiseErrno(target.string());
        }
        renamed_ = true;
    }

  private:
    std::string path_;
    int descriptor_ = -1;
    bool renamed_ = false;
};

// The replaced file's permissions and owner, or for a new file those the umask leaves.
void TakeAccess(int descriptor, const fs::path& target) {
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0) {
        // Only a privileged writer may hand the file to its owner; others keep it as theirs.
        [[maybe_unused]] const int ignored = fchown(descriptor, existing.st_uid, existing.st_gid);
        fchmod(descriptor, existing.st_mode & 07777);
        return;
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

}  // namespace

namespace {

void WriteParts(const std::string& path, std::span<const std::string_view> parts) {
    fs::path target = path;
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        target = fs::weakly_canonical(target);
    }
    if (target.parent_path().empty()) {
        target = fs::path(".") / target;
    }
    TemporaryFile file(target);
    TakeAccess(file.Descriptor(), target);
    for (std::string_view content : parts) {
        while (!content.empty()) {
            const ssize_t written = write(file.Descriptor(), content.data(), content.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                RaiseErrno(path);
            }
            content.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    file.RenameTo(target);
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view content) {
    WriteParts(path, {&content, 1});
}

void WriteFileAtomically(const std::string& path, const std::vector<std::string>& parts) {
    const std::vector<std::string_view> views(parts.begin(), parts.end());
    WriteParts(path, views);
}

}  // namespace quarn::subsysmgr::exchange
