// A local file named by its absolute path, with the file: URI text that identifies it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quessel::core {

// Two FileUrls are equal when their URI texts are equal: two different paths to one file (a
// link and its target, say) are different URLs, as they are for the recent-files list.
class FileUrl {
public:
    // A relative path is taken against the current folder; "." and ".." steps and doubled
    // separators are removed lexically (links are not resolved). Nothing for an empty path.
    static std::optional<FileUrl> fromPath(std::string_view path);
    // Only local file: URIs (no host other than localhost) give a FileUrl.
    static std::optional<FileUrl> fromUri(std::string_view uri);

    // The path in the file system's own encoding (bytes, not necessarily UTF-8).
    const std::string& path() const noexcept { return path_; }
    // The percent-encoded file: URI.
    const std::string& uri() const noexcept { return uri_; }
    // The final path component as stored on disk ("/" for the root).
    std::string lastPathComponent() const;
    // The final path component as UTF-8 text for showing to the user; bytes that are not
    // UTF-8 become replacement characters.
    std::string displayName() const;

    friend bool operator==(const FileUrl& a, const FileUrl& b) noexcept { return a.uri_ == b.uri_; }

private:
    FileUrl(std::string path, std::string uri) : path_(std::move(path)), uri_(std::move(uri)) {}

    std::string path_;
    std::string uri_;
};

} // namespace quessel::core
