// What loading a document gave, handed to a page kind to write.
#pragma once

#include "page/ErrorListing.hpp"
#include "yaml/YamlValue.hpp"

#include <optional>
#include <string_view>

namespace quessel::page {

// Exactly one of three cases: a loaded value; a failure (banner and listing of `text`); neither,
// when the text holds no document.
struct PageContent {
    std::string_view text;
    const yaml::YamlValue* value = nullptr;
    std::optional<ErrorBanner> failure;
};

} // namespace quessel::page
