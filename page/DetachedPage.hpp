// A virtualised page with its data cut out, so that the window can hand the engine a small page
// at once and the data through a channel of its own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::page {

// The data element of the virtualised page: opened by exactly this tag, its text JSON in which
// "<" is always escaped, so the first "<" after the tag is its end tag.
inline constexpr std::string_view pageDataStart =
    R"(<script type="application/json" id="page-data">)";
inline constexpr std::string_view pageDataEnd = "</script>";

// One part of the data: where the page fetches it, and where it ends in the data (it begins
// where the part before it ends).
struct PageDataPart {
    std::string address;
    std::size_t end = 0;
};

struct DetachedPage {
    // The page to load. When the data was cut out, its data element is empty and names, in its
    // data-src attribute, the addresses of the data's parts in order, separated by spaces.
    std::string html;
    // The data element's text; none for a page that carries no data element (the all-markup
    // page) or whose data stays inline.
    std::optional<std::string> data;
    std::vector<PageDataPart> parts;
};

// The engine reads a fetched resource in pieces of a few kilobytes, one turn of each process's
// loop per piece: data fetched in parts at once arrives several times sooner. Parts are at
// least this long, and at most this many.
inline constexpr std::size_t pageDataPartSize = std::size_t{1} << 20;
inline constexpr std::size_t pageDataMaxParts = 8;

// Cuts the text of the page's data element out of `html` and leaves an empty element naming the
// addresses of its parts: `address` followed by "/0", "/1" and so on (written as an attribute
// value, escaped). Parts end before the first byte of a character, so each is whole UTF-8. The
// page's head and banner come before the element and are escaped, so its first opening tag is
// the page's own. A page without the element, or whose element has no end, comes back whole with
// no data.
DetachedPage detachPageData(std::string html, std::string_view address);

} // namespace quessel::page
