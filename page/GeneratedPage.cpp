// A generated page, with the virtualised page's data kept apart from its HTML.
#include "page/GeneratedPage.hpp"

#include "page/JsonString.hpp"
#include "page/PageProtocol.hpp"

namespace quessel::page {

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
