// Replacing a file's contents atomically and durably, keeping its permissions, owner and links.
#pragma once

#include "viewer_core/FileIdentity.hpp"

#include <string>
#include <string_view>

namespace quessel::core {

// The file a path finally names: symbolic links are followed, chains included, a relative link
// target taken from the link's own folder. A path whose final target does not exist yet names
// that target. Throws FileError for a link loop or a path that cannot be examined.
std::string resolveLinkTarget(const std::string& path);

// Writes the bytes to a new file in the target's own folder, flushes it to disk, gives it the
// old file's permission bits (and owner and group where the process may) and renames it over
// the target, then flushes the folder. When this returns the new contents are on disk; a crash
// at any moment leaves either the old file or the new one. A symbolic link is written through
// to its target and stays a link. A new file gets 0666 less the umask. On failure the temporary
// file is removed, the target is untouched and a FileError describes what went wrong.
// Returns the identity of the file as written.
FileIdentity writeFileAtomically(const std::string& path, std::string_view contents);

} // namespace quessel::core
