// A virtualised page with its data cut out, so that the window can hand the engine a small page
// at once and the data through a channel of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quessel::app {

// The data element of the virtualised page: opened by exactly this tag, its text JSON in which
// "<" is always escaped, so the first "<" after the tag is its end tag.
inline constexpr std::string_view pageDataStart =
    R"(<script type="application/json" id="page-data">)";
inline constexpr std::string_view pageDataEnd = "</script>";

struct DetachedPage {
    // The page to load. When the data was cut out, its data element is empty and names, in its
    // data-src attribute, the address the page fetches the data from.
    std::string html;
    // The address and the data element's text; none for a page that carries no data element
    // (the all-markup page) or whose data stays inline.
    std::string dataAddress;
    std::optional<std::string> data;
};

// Cuts the text of the page's data element out of `html` and leaves an empty element naming
// `address` (written as an attribute value, escaped). The page's head and banner come before
// the element and are escaped, so its first opening tag is the page's own. A page without the
// element, or whose element has no end, comes back whole with no data.
DetachedPage detachPageData(std::string html, std::string_view address);

} // namespace quessel::app
