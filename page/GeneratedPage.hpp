// A generated page, with the virtualised page's data kept apart from its HTML.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quessel::page {

// The virtualised page carries its rows as data in a JSON script element. Page generation hands
// the data over apart from the HTML, so that the window can give the engine the small page at
// once and serve the data through a channel of its own, while quessel-render writes one file
// that works anywhere. The all-markup page has no data.
struct GeneratedPage {
    // The page. A page with data holds its data element empty, with `dataAt` where the element's
    // text goes.
    std::string html;
    std::optional<std::string> data;
    std::size_t dataAt = 0;

    // The page with its data inside the element.
    std::string inlined() &&;

    // The page whose data element names, in order, the addresses that serve the data's parts,
    // which the page's script fetches and joins. The data stays here.
    std::string fetching(const std::vector<std::string>& addresses) const;
};

} // namespace quessel::page
