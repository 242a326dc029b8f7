// A virtualised page with its data cut out, so that the window can hand the engine a small page
// at once and the data through a channel of its own.
#include "page/DetachedPage.hpp"

#include "page/HtmlEscape.hpp"

#include <algorithm>

namespace quessel::page {
namespace {

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::vector<PageDataPart> partsOf(std::string_view data, std::string_view address) {
    const std::size_t count =
        std::clamp<std::size_t>(data.size() / pageDataPartSize, 1, pageDataMaxParts);
    std::vector<PageDataPart> parts;
    std::size_t end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        end = std::max(end, i + 1 == count ? data.size() : data.size() / count * (i + 1));
        while (end < data.size() && continuesCharacter(data[end])) {
            ++end;
        }
        parts.push_back({std::string(address) + "/" + std::to_string(i), end});
    }
    return parts;
}

} // namespace

DetachedPage detachPageData(std::string html, std::string_view address) {
    const std::size_t tag = html.find(pageDataStart);
    if (tag == std::string::npos) {
        return DetachedPage{std::move(html), std::nullopt, {}};
    }
    const std::size_t textStart = tag + pageDataStart.size();
    const std::size_t textEnd = html.find('<', textStart);
    if (textEnd == std::string::npos ||
        html.compare(textEnd, pageDataEnd.size(), pageDataEnd) != 0) {
        return DetachedPage{std::move(html), std::nullopt, {}};
    }
    std::vector<PageDataPart> parts =
        partsOf(std::string_view(html).substr(textStart, textEnd - textStart), address);
    std::string shell;
    shell.reserve(html.size() - (textEnd - textStart) + parts.size() * (address.size() + 8) + 16);
    shell.append(html, 0, tag);
    shell.append(R"(<script type="application/json" id="page-data" data-src=")");
    for (const PageDataPart& part : parts) {
        if (&part != &parts.front()) {
            shell.push_back(' ');
        }
        appendEscaped(shell, part.address);
    }
    shell.append("\">");
    shell.append(html, textEnd);
    // The data is most of the page: it keeps the page's buffer rather than being copied out of it.
    html.erase(textEnd);
    html.erase(0, textStart);
    return DetachedPage{std::move(shell), std::move(html), std::move(parts)};
}

} // namespace quessel::page
