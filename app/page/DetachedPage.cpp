// A virtualised page with its data cut out, so that the window can hand the engine a small page
// at once and the data through a channel of its own.
#include "app/page/DetachedPage.hpp"

#include "app/page/HtmlEscape.hpp"

namespace quessel::app {

DetachedPage detachPageData(std::string html, std::string_view address) {
    const std::size_t tag = html.find(pageDataStart);
    if (tag == std::string::npos) {
        return DetachedPage{std::move(html), {}, std::nullopt};
    }
    const std::size_t textStart = tag + pageDataStart.size();
    const std::size_t textEnd = html.find('<', textStart);
    if (textEnd == std::string::npos ||
        html.compare(textEnd, pageDataEnd.size(), pageDataEnd) != 0) {
        return DetachedPage{std::move(html), {}, std::nullopt};
    }
    std::string shell;
    shell.reserve(html.size() - (textEnd - textStart) + address.size() + 16);
    shell.append(html, 0, tag);
    shell.append(R"(<script type="application/json" id="page-data" data-src=")");
    appendEscaped(shell, address);
    shell.append("\">");
    shell.append(html, textEnd);
    // The data is most of the page: it keeps the page's buffer rather than being copied out of it.
    html.erase(textEnd);
    html.erase(0, textStart);
    return DetachedPage{std::move(shell), std::string(address), std::move(html)};
}

} // namespace quessel::app
