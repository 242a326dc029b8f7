// What tells one version of a file on disk from another: device, inode, size, modification time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace quessel::core {

// An atomic replacement gives the file a new inode, an in-place write a new size or
// modification time (nanoseconds), so any change by any writer shows in one of them.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    static FileIdentity of(const struct stat& status) noexcept;
    // The identity of the file a path names (links followed); nothing when it cannot be
    // examined, a vanished file included.
    static std::optional<FileIdentity> ofPath(const std::string& path) noexcept;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

} // namespace quessel::core
