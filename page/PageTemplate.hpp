// The frame every page shares: head, palette, style sheet, the body's fixed pieces, the script.
#pragma once

#include "page/Appearance.hpp"
#include "page/ErrorListing.hpp"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quessel::page {

// The body text size of a page, in CSS pixels, unless another is asked for: the viewer's default
// setting, and quessel-render's.
inline constexpr int defaultFontSize = 14;

// The pieces are written in this order, and nothing else stands between them:
//   appendPageStart, [appendErrorBanner], appendContentStart, <content>, appendContentEnd,
//   appendPageEnd.
// The whitespace they put between the body's children is part of what the in-page search
// walks, so it is fixed exactly.

// From the doctype to the opening of the body, followed by a line break and four spaces.
// `extraStyle` follows the style sheet (the virtualised page's rules).
void appendPageStart(std::string& out, Appearance appearance, int fontSize,
                     std::string_view extraStyle = {});

// The banner above the content; the message is escaped like document text.
void appendErrorBanner(std::string& out, std::string_view message);
// The banner and, when the failure gives one, the reason under it.
void appendErrorBanner(std::string& out, const ErrorBanner& banner);

// A line break, four spaces and the opening of the content container.
void appendContentStart(std::string& out);

// The closing of the content container.
void appendContentEnd(std::string& out);

// Two line breaks, four spaces, the inline script, and the end of the page (no final line
// break).
void appendPageEnd(std::string& out, std::string_view script);

// One inline script of the given parts, run in this order in one strict-mode scope of their own,
// after the page protocol's `Protocol` object: they share their modules without putting them on
// the window.
std::string scriptOfParts(std::initializer_list<std::string_view> parts);

// How many bytes the fixed pieces take, for reserving the page in one allocation.
std::size_t fixedPageSize(std::string_view script);

} // namespace quessel::page
