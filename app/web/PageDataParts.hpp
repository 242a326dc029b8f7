// How a page's data is cut into the parts the page fetches at once.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quessel::app::web {

// The engine reads a fetched resource in pieces of a few kilobytes, one turn of each process's
// loop per piece: data fetched in parts at once arrives several times sooner. Parts are at least
// this long, and at most this many.
inline constexpr std::size_t pageDataPartSize = std::size_t{1} << 20;
inline constexpr std::size_t pageDataMaxParts = 8;

// Where each part ends in `data`; each begins where the one before it ends, the first at 0. Parts
// end before the first byte of a character, so that each is whole UTF-8.
std::vector<std::size_t> pageDataPartEnds(std::string_view data);

} // namespace quessel::app::web
