// The recent-files list in a user-defaults store: an array of bookmark byte strings under one key.
#include "viewer_core/RecentFiles.hpp"

#include "viewer_core/Bookmark.hpp"

#include <glib.h>

#include <optional>

namespace quessel::core {
namespace {

// The bytes of a byte string, without the terminating NUL that GVariant's own byte-string
// text form adds.
std::optional<std::string> bytesOf(GVariant* element) {
    if (g_variant_is_of_type(element, G_VARIANT_TYPE_VARIANT)) {
        GVariant* inner = g_variant_get_variant(element);
        auto bytes = bytesOf(inner);
        g_variant_unref(inner);
        return bytes;
    }
    if (!g_variant_is_of_type(element, G_VARIANT_TYPE_BYTESTRING)) {
        return std::nullopt;
    }
    gsize length = 0;
    const auto* data = static_cast<const char*>(g_variant_get_fixed_array(element, &length, 1));
    std::string bytes(data != nullptr ? data : "", length);
    if (!bytes.empty() && bytes.back() == '\0') {
        bytes.pop_back();
    }
    return bytes;
}

// Every element's bytes, or nothing when the value is not an array of byte strings.
std::optional<std::vector<std::string>> byteStrings(GVariant* value) {
    if (!g_variant_is_of_type(value, G_VARIANT_TYPE_ARRAY)) {
        return std::nullopt;
    }
    std::vector<std::string> result;
    const gsize count = g_variant_n_children(value);
    for (gsize index = 0; index < count; ++index) {
        GVariant* element = g_variant_get_child_value(value, index);
        auto bytes = bytesOf(element);
        g_variant_unref(element);
        if (!bytes) {
            return std::nullopt;
        }
        result.push_back(std::move(*bytes));
    }
    return result;
}

} // namespace

std::vector<FileUrl> loadRecentFiles(const UserDefaults& store, std::string_view key) {
    const auto value = store.object(key);
    if (!value) {
        return {};
    }
    const auto blobs = byteStrings(const_cast<GVariant*>(value->gobj()));
    if (!blobs) {
        return {};
    }
    std::vector<FileUrl> files;
    for (const auto& blob : *blobs) {
        if (auto url = resolveBookmark(blob)) {
            files.push_back(std::move(*url));
        }
    }
    return files;
}

void saveRecentFiles(UserDefaults& store, std::string_view key, const std::vector<FileUrl>& files) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE_BYTESTRING_ARRAY);
    for (const auto& file : files) {
        g_variant_builder_add_value(&builder, g_variant_new_bytestring(bookmarkData(file).c_str()));
    }
    store.set(key, Glib::VariantBase(g_variant_builder_end(&builder)));
}

} // namespace quessel::core
