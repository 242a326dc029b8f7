// Which page a document gets: the all-markup page or the virtualised one.
#pragma once

#include <cstddef>

namespace quessel::page {

// `markup` writes every line as elements: the page to export, since it works in any browser, for
// its find, printing and assistive technology. `virtualised` carries the document as data and
// builds only the lines in view. `automatic` writes the markup page up to the threshold below and
// the virtualised page above it: what the window shows.
enum class PageKind { markup, virtualised, automatic };

// The most lines (mapping entries and sequence elements of a loaded value, or lines of the
// listing of an invalid document) a page may hold and still be written as markup under
// `automatic`. Up to here the engine builds the markup page and answers a search keystroke
// quickly; beyond it both costs grow with every line.
inline constexpr std::size_t virtualPageThreshold = 1000;

} // namespace quessel::page
