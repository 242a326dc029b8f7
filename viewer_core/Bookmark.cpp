// The persistent reference to a file kept in the recent-files list: the file's URI as bytes.
#include "viewer_core/Bookmark.hpp"

#include <glib.h>

namespace quessel::core {

std::string bookmarkData(const FileUrl& url) {
    return url.uri();
}

std::optional<FileUrl> resolveBookmark(std::string_view data) {
    auto url = FileUrl::fromUri(data);
    if (!url || !g_file_test(url->path().c_str(), G_FILE_TEST_EXISTS)) {
        return std::nullopt;
    }
    return url;
}

} // namespace quessel::core
