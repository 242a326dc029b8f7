// Reading a whole file as UTF-8 text, with the identity of the version that was read.
#pragma once

#include "viewer_core/FileIdentity.hpp"

#include <string>

namespace quessel::core {

struct LoadedText {
    std::string text;
    FileIdentity identity;
};

// Reads every byte of a regular file and checks that it is UTF-8. NUL bytes are kept: they
// are valid text. Throws FileError for a file that is missing, unreadable, not a regular file,
// too large for memory or not valid UTF-8; there is no other encoding and no fallback.
LoadedText readTextFile(const std::string& path);

} // namespace quessel::core
