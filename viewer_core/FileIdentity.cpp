// What tells one version of a file on disk from another: device, inode, size, modification time.
#include "viewer_core/FileIdentity.hpp"

namespace quessel::core {

FileIdentity FileIdentity::of(const struct stat& status) noexcept {
    return FileIdentity{
        static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
        static_cast<std::int64_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
        static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

std::optional<FileIdentity> FileIdentity::ofPath(const std::string& path) noexcept {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return of(status);
}

} // namespace quessel::core
