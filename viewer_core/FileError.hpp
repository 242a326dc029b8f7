// The failure of a file operation: a message in GLib's wording and the system error behind it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace quessel::core {

class FileError : public std::runtime_error {
public:
    // errnum is the errno value behind the failure, 0 when there is none (invalid text, say).
    FileError(int errnum, const std::string& message)
        : std::runtime_error(message), errnum_(errnum) {}

    // "<action> “<path>”: <system message>", like GLib's own file errors; the path is shown
    // as UTF-8 even when the file system's bytes are not.
    static FileError fromErrno(int errnum, std::string_view action, const std::string& path);

    int errnum() const noexcept { return errnum_; }
    // The message with the system error's symbolic name, for diagnostics that must be
    // precise: "Failed to write file “/a/b.yaml”: No space left on device (ENOSPC)".
    std::string description() const;

    // A path in quotation marks, as UTF-8 text.
    static std::string quoted(const std::string& path);

private:
    int errnum_;
};

// Throws unless the status is that of a regular file: "<action> “<path>”: Is a directory" for a
// folder, "…: not a regular file" for a pipe, device or socket.
void requireRegularFile(const struct stat& status, std::string_view action,
                        const std::string& path);

} // namespace quessel::core
