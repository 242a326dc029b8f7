// A generated page, with the virtualised page's data kept apart from its HTML.
#include "page/GeneratedPage.hpp"

#include "page/PageProtocol.hpp"

namespace quessel::page {
namespace {

// Addresses are ours and plain, but nothing written into the element may end it or the string:
// quotes, backslashes, controls and "<" are escaped.
void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char digits[] = "0123456789abcdef";
    out.push_back('"');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '"' || c == '\\' || c == '<') {
            out.append("\\u00");
            out.push_back(digits[byte >> 4U]);
            out.push_back(digits[byte & 0xFU]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

} // namespace

std::string GeneratedPage::inlined() && {
    if (!data) {
        return std::move(html);
    }
    std::string page;
    page.reserve(html.size() + data->size());
    page.append(html, 0, dataAt);
    page.append(*data);
    page.append(html, dataAt);
    return page;
}

std::string GeneratedPage::fetching(const std::vector<std::string>& addresses) const {
    if (!data) {
        return html;
    }
    std::string page;
    page.reserve(html.size() + 32 + addresses.size() * 48);
    page.append(html, 0, dataAt);
    page.append("{\"");
    page.append(protocol::field::parts);
    page.append("\":[");
    for (const std::string& address : addresses) {
        if (&address != &addresses.front()) {
            page.push_back(',');
        }
        appendJsonString(page, address);
    }
    page.append("]}");
    page.append(html, dataAt);
    return page;
}

} // namespace quessel::page
