// Why a document does not load, in words, and the places in the listing the failure names.
#pragma once

#include "page/ErrorListing.hpp"
#include "yaml/YamlError.hpp"

#include <string_view>

namespace quessel::page {

// The banner for a failure of loading `text`: the message and line as the description gives
// them, the reason in words with its line and column, and the characters to mark in the listing
// (for duplicate keys, each occurrence of each key).
ErrorBanner bannerForYamlError(const yaml::YamlError& error, std::string_view text);

// The reason in words: the problem without its position and kind, then where it is.
std::string errorDetail(const yaml::YamlError& error);

} // namespace quessel::page
