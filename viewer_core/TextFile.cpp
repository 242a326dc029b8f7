// Reading a whole file as UTF-8 text, with the identity of the version that was read.
#include "viewer_core/TextFile.hpp"

#include "viewer_core/FileError.hpp"
#include "viewer_core/UniqueFd.hpp"

#include <glib.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <optional>
#include <stdexcept>

namespace quessel::core {
namespace {

void readAll(int fd, std::string& text, std::size_t expected, const std::string& path) {
    // The size from fstat is a hint: the file may grow or shrink while it is read.
    text.resize(expected + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == text.size()) {
            text.resize(text.size() * 2);
        }
        const ssize_t count = ::read(fd, text.data() + filled, text.size() - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw FileError::fromErrno(errno, "Failed to read from file", path);
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    text.resize(filled);
}

// The offset of the first byte that is not part of valid UTF-8, if any. GLib's validator
// refuses NUL bytes, which are valid text, so it is given the runs between them.
std::optional<std::size_t> firstInvalidByte(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nul = std::min(text.find('\0', start), text.size());
        const char* end = nullptr;
        if (!g_utf8_validate_len(text.data() + start, nul - start, &end)) {
            return static_cast<std::size_t>(end - text.data());
        }
        start = nul + 1;
    }
    return std::nullopt;
}

void checkUtf8(const std::string& text, const std::string& path) {
    const auto offset = firstInvalidByte(text);
    if (!offset) {
        return;
    }
    throw FileError(0, "The file " + FileError::quoted(path) +
                           " is not valid UTF-8 text (invalid byte at offset " +
                           std::to_string(*offset) + ").");
}

// Reading a file larger than the machine's memory would end in the out-of-memory killer rather
// than in an error the user can read.
bool fitsInMemory(std::int64_t size) {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages <= 0 || pageSize <= 0 || size / pageSize < pages;
}

FileError tooLarge(const std::string& path) {
    return FileError(ENOMEM, "The file " + FileError::quoted(path) +
                                 " is too large to open: " + g_strerror(ENOMEM));
}

} // namespace

LoadedText readTextFile(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        throw FileError::fromErrno(errno, "Failed to open file", path);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        throw FileError::fromErrno(errno, "Failed to get attributes of file", path);
    }
    // A pipe or device could block the window for ever or never end.
    requireRegularFile(status, "Failed to read from file", path);
    if (!fitsInMemory(status.st_size)) {
        throw tooLarge(path);
    }
    LoadedText loaded{{}, FileIdentity::of(status)};
    try {
        readAll(fd.get(), loaded.text, static_cast<std::size_t>(status.st_size), path);
    } catch (const std::bad_alloc&) {
        throw tooLarge(path);
    } catch (const std::length_error&) {
        throw tooLarge(path);
    }
    checkUtf8(loaded.text, path);
    return loaded;
}

} // namespace quessel::core
