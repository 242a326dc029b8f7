// Escaping of document text for HTML element content and attribute values.
#include "page/HtmlEscape.hpp"

#include <array>

namespace quessel::page {
namespace {

// Index 0 means "copy as is"; the others name the entity in `entities`.
constexpr std::array<unsigned char, 256> entityIndex = [] {
    std::array<unsigned char, 256> table{};
    table['&'] = 1;
    table['<'] = 2;
    table['>'] = 3;
    table['"'] = 4;
    table['\''] = 5;
    return table;
}();

constexpr std::array<std::string_view, 6> entities = {"",     "&amp;",  "&lt;",
                                                      "&gt;", "&quot;", "&#39;"};

} // namespace

void appendEscaped(std::string& out, std::string_view text) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char index = entityIndex[static_cast<unsigned char>(text[i])];
        if (index != 0) {
            out.append(text.data() + runStart, i - runStart);
            out.append(entities[index]);
            runStart = i + 1;
        }
    }
    out.append(text.data() + runStart, text.size() - runStart);
}

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

} // namespace quessel::page
