// The virtualised page: the document as compact data, only the rows in view as elements.
#include "page/VirtualPage.hpp"

#include "page/DetachedPage.hpp"
#include "page/MarkupPage.hpp"
#include "page/PageResources.hpp"
#include "page/PageTemplate.hpp"
#include "page/RowData.hpp"

#include <algorithm>

namespace quessel::page {
namespace {

constexpr std::string_view contentStart =
    "\n    <div class=\"yaml-content virtual-content\" id=\"virtual-content\">";

// The scripts share one scope, so the search sees the rows' API and the shared marking without
// a global.
const std::string& virtualScript() {
    static const std::string script =
        scriptOfParts({textMarksScript, virtualRowsScript, virtualSearchScript});
    return script;
}

// The data runs at about 1.1 bytes per byte of YAML (the indentation and the syntax go, the
// markers come); a listing adds its line numbers and markers. Reserving a little more spares
// the regrowth copies of a page of many megabytes.
std::size_t expectedDataSize(const PageContent& content) {
    const std::size_t size = content.text.size();
    if (content.failure) {
        const auto lines = static_cast<std::size_t>(
            std::count(content.text.begin(), content.text.end(), '\n') + 1);
        return size + size / 16 + lines * 12 + 64;
    }
    return size + size / 4 + 64;
}

} // namespace

std::string writeVirtualPage(const PageContent& content, Appearance appearance, int fontSize) {
    if (!hasRows(content)) {
        return writeMarkupPage(content, appearance, fontSize);
    }
    std::string out;
    out.reserve(fixedPageSize(virtualScript()) + virtualStyleSheet.size() +
                expectedDataSize(content));
    appendPageStart(out, appearance, fontSize, virtualStyleSheet);
    if (content.failure) {
        appendErrorBanner(out, content.failure->message);
    }
    out.append(contentStart);
    appendContentEnd(out);
    out.append(pageDataStart);
    if (!appendRowData(out, content)) {
        return writeMarkupPage(content, appearance, fontSize); // no marker characters left
    }
    out.append(pageDataEnd);
    appendPageEnd(out, virtualScript());
    return out;
}

} // namespace quessel::page
