// Replacing a file's contents atomically and durably, keeping its permissions, owner and links.
#include "viewer_core/AtomicFile.hpp"

#include "viewer_core/FileError.hpp"
#include "viewer_core/GLibHandles.hpp"
#include "viewer_core/UniqueFd.hpp"

#include <glib/gstdio.h>

#include <cerrno>
#include <fcntl.h>
#include <optional>

namespace quessel::core {
namespace {

// The kernel's own bound on links followed in one lookup.
constexpr int maximumLinkDepth = 40;

std::string folderOf(const std::string& path) {
    const GCharPtr folder(g_path_get_dirname(path.c_str()));
    return folder.get();
}

std::string readLink(const std::string& link) {
    GError* raw = nullptr;
    const GCharPtr target(g_file_read_link(link.c_str(), &raw));
    const GErrorPtr error(raw);
    if (!target) {
        throw FileError(EINVAL, error->message);
    }
    if (g_path_is_absolute(target.get())) {
        return target.get();
    }
    const GCharPtr joined(g_build_filename(folderOf(link).c_str(), target.get(), nullptr));
    return joined.get();
}

// The temporary file until it has been renamed over the target; removed if that never happens.
class TemporaryFile {
public:
    TemporaryFile(const std::string& target, mode_t creationMode) {
        const GCharPtr name(g_path_get_basename(target.c_str()));
        path_ = folderOf(target) + "/." + name.get() + ".XXXXXX";
        fd_.reset(g_mkstemp_full(path_.data(), O_RDWR | O_CLOEXEC, static_cast<int>(creationMode)));
        if (!fd_) {
            throw FileError::fromErrno(errno, "Failed to create a temporary file beside", target);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!committed_) {
            fd_.reset();
            ::unlink(path_.c_str());
        }
    }

    int fd() const noexcept { return fd_.get(); }
    const std::string& path() const noexcept { return path_; }
    int close() noexcept { return fd_.close(); }
    void commit() noexcept { committed_ = true; }

private:
    std::string path_;
    UniqueFd fd_;
    bool committed_ = false;
};

void writeAll(int fd, std::string_view contents, const std::string& target) {
    while (!contents.empty()) {
        const ssize_t count = ::write(fd, contents.data(), contents.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw FileError::fromErrno(errno, "Failed to write file", target);
        }
        contents.remove_prefix(static_cast<std::size_t>(count));
    }
}

// Owner first: changing the owner clears set-user-ID and set-group-ID bits, which the mode
// then restores. Without the privilege to give the file away, keeping the group may still be
// allowed; the user's own ownership is the fallback, as when the file is edited by hand.
void keepOwnerAndMode(int fd, const struct stat& original, const std::string& target) {
    if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
        if (errno != EPERM) {
            throw FileError::fromErrno(errno, "Failed to set the owner of file", target);
        }
        // Failing that too, the file has the user's own group. (A cast to void does not quiet
        // the unused-result warning glibc gives fchown when built with _FORTIFY_SOURCE.)
        [[maybe_unused]] const int groupKept =
            ::fchown(fd, static_cast<uid_t>(-1), original.st_gid);
    }
    if (::fchmod(fd, original.st_mode & 07777) != 0) {
        throw FileError::fromErrno(errno, "Failed to set the permissions of file", target);
    }
}

std::optional<struct stat> existingFile(const std::string& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throw FileError::fromErrno(errno, "Failed to get attributes of file", target);
    }
    // Renaming a regular file over a device or pipe would destroy it rather than write to it.
    requireRegularFile(status, "Failed to write file", target);
    return status;
}

// The rename is durable only once the folder's entry is on disk. File systems that cannot
// flush a folder say EINVAL; the rename itself has then happened and is all they offer.
void syncFolder(const std::string& target) {
    const std::string folder = folderOf(target);
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) {
        throw FileError::fromErrno(errno, "Failed to open folder", folder);
    }
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != EROFS) {
        throw FileError::fromErrno(errno, "Failed to flush folder", folder);
    }
}

} // namespace

std::string resolveLinkTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth <= maximumLinkDepth; ++depth) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return current;
            }
            throw FileError::fromErrno(errno, "Failed to get attributes of file", current);
        }
        if (!S_ISLNK(status.st_mode)) {
            return current;
        }
        current = readLink(current);
    }
    throw FileError::fromErrno(ELOOP, "Failed to resolve link", path);
}

FileIdentity writeFileAtomically(const std::string& path, std::string_view contents) {
    const std::string target = resolveLinkTarget(path);
    const std::optional<struct stat> original = existingFile(target);
    TemporaryFile temporary(target, original ? 0600 : 0666);
    writeAll(temporary.fd(), contents, target);
    if (original) {
        keepOwnerAndMode(temporary.fd(), *original, target);
    }
    struct stat written {};
    if (::fsync(temporary.fd()) != 0 || ::fstat(temporary.fd(), &written) != 0 ||
        temporary.close() != 0) {
        throw FileError::fromErrno(errno, "Failed to write file", target);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        throw FileError::fromErrno(errno, "Failed to replace file", target);
    }
    temporary.commit();
    syncFolder(target);
    return FileIdentity::of(written);
}

} // namespace quessel::core
