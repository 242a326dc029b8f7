// Owners for memory and objects handed out by GLib's C API, released when they go out of scope.
#pragma once

#include <glib.h>

#include <memory>

namespace quessel::core {

struct GFreeDeleter {
    void operator()(void* memory) const noexcept { g_free(memory); }
};
struct GErrorDeleter {
    void operator()(GError* error) const noexcept { g_error_free(error); }
};
struct GKeyFileDeleter {
    void operator()(GKeyFile* file) const noexcept { g_key_file_unref(file); }
};
struct GBytesDeleter {
    void operator()(GBytes* bytes) const noexcept { g_bytes_unref(bytes); }
};
struct GStrvDeleter {
    void operator()(char** strings) const noexcept { g_strfreev(strings); }
};

// A string allocated by GLib (g_strdup, g_filename_to_uri, g_key_file_to_data …).
using GCharPtr = std::unique_ptr<char, GFreeDeleter>;
using GErrorPtr = std::unique_ptr<GError, GErrorDeleter>;
using GKeyFilePtr = std::unique_ptr<GKeyFile, GKeyFileDeleter>;
using GStrvPtr = std::unique_ptr<char*, GStrvDeleter>;
using GBytesPtr = std::unique_ptr<GBytes, GBytesDeleter>;

} // namespace quessel::core
