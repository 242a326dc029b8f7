// The persistent reference to a file kept in the recent-files list: the file's URI as bytes.
#pragma once

#include "viewer_core/FileUrl.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace quessel::core {

// There is no sandbox to carry a permission for, so the URI is all a reference needs.
std::string bookmarkData(const FileUrl& url);

// The file a bookmark names; nothing when the bytes are not a local file URI or the file can
// no longer be found (a link whose target is gone included).
std::optional<FileUrl> resolveBookmark(std::string_view data);

} // namespace quessel::core
