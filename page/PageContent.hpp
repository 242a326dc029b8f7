// What loading a document gave, handed to a page kind to write.
#pragma once

#include "page/ErrorListing.hpp"
#include "yaml/YamlValue.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace quessel::page {

// Exactly one of four cases: a loaded value; the values of a stream of several documents; a
// failure (banner and listing of `text`); none of them, when the text holds no document.
struct PageContent {
    std::string_view text;
    const yaml::YamlValue* value = nullptr;
    std::optional<ErrorBanner> failure;
    const std::vector<yaml::YamlValue>* documents = nullptr; // two or more
};

} // namespace quessel::page
