// An exclusive advisory lock on a lock file, held for a scope, serialising writers across
// processes.
#include "viewer_core/FileLock.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace quessel::core {

FileLock::FileLock(const std::string& lockPath)
    : fd_(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600)) {
    if (!fd_) {
        return;
    }
    int result = 0;
    do {
        result = ::flock(fd_.get(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    locked_ = result == 0;
}

FileLock::~FileLock() {
    if (locked_) {
        ::flock(fd_.get(), LOCK_UN);
    }
}

} // namespace quessel::core
