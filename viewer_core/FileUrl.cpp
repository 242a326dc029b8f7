// A local file named by its absolute path, with the file: URI text that identifies it.
#include "viewer_core/FileUrl.hpp"

#include "viewer_core/GLibHandles.hpp"

namespace quessel::core {

std::optional<FileUrl> FileUrl::fromPath(std::string_view path) {
    // GLib's path functions take C strings: a path with a NUL byte names no file.
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string text(path);
    const GCharPtr absolute(g_canonicalize_filename(text.c_str(), nullptr));
    const GCharPtr uri(g_filename_to_uri(absolute.get(), nullptr, nullptr));
    if (!uri) {
        return std::nullopt;
    }
    return FileUrl(absolute.get(), uri.get());
}

std::optional<FileUrl> FileUrl::fromUri(std::string_view uri) {
    if (uri.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string text(uri);
    char* host = nullptr;
    const GCharPtr path(g_filename_from_uri(text.c_str(), &host, nullptr));
    const GCharPtr hostName(host);
    if (!path || (hostName && std::string_view(hostName.get()) != "localhost")) {
        return std::nullopt;
    }
    // Rebuilding the URI from the path gives one text per file, however the input was escaped.
    return fromPath(path.get());
}

std::string FileUrl::lastPathComponent() const {
    const GCharPtr name(g_path_get_basename(path_.c_str()));
    return name.get();
}

std::string FileUrl::displayName() const {
    const GCharPtr name(g_filename_display_basename(path_.c_str()));
    return name.get();
}

} // namespace quessel::core
