// The failure of a file operation: a message in GLib's wording and the system error behind it.
#include "viewer_core/FileError.hpp"

#include "viewer_core/GLibHandles.hpp"

#include <cerrno>
#include <cstring>

namespace quessel::core {

FileError FileError::fromErrno(int errnum, std::string_view action, const std::string& path) {
    std::string message(action);
    message += ' ';
    message += quoted(path);
    message += ": ";
    message += g_strerror(errnum);
    return FileError(errnum, message);
}

std::string FileError::description() const {
    std::string text = what();
    if (const char* name = errnum_ != 0 ? strerrorname_np(errnum_) : nullptr) {
        text += " (";
        text += name;
        text += ')';
    }
    return text;
}

void requireRegularFile(const struct stat& status, std::string_view action,
                        const std::string& path) {
    if (S_ISDIR(status.st_mode)) {
        throw FileError::fromErrno(EISDIR, action, path);
    }
    if (!S_ISREG(status.st_mode)) {
        throw FileError(EINVAL, std::string(action) + ' ' + FileError::quoted(path) +
                                    ": not a regular file");
    }
}

std::string FileError::quoted(const std::string& path) {
    const GCharPtr display(g_filename_display_name(path.c_str()));
    return std::string("\u201C") + display.get() + "\u201D";
}

} // namespace quessel::core
