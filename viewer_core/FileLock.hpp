// An exclusive advisory lock on a lock file, held for a scope, serialising writers across
// processes.
#pragma once

#include "viewer_core/UniqueFd.hpp"

#include <string>

namespace quessel::core {

// Blocks until no other holder of the same lock file remains. The lock is released when the
// object goes (or the process ends, however it ends). When the lock file cannot be created the
// object holds nothing and locked() is false; the caller's write then fails on its own terms.
class FileLock {
public:
    explicit FileLock(const std::string& lockPath);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    bool locked() const noexcept { return locked_; }

private:
    UniqueFd fd_;
    bool locked_ = false;
};

} // namespace quessel::core
