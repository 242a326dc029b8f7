// The virtualised page: the document as compact data, only the rows in view as elements.
#include "page/VirtualPage.hpp"

#include "page/MarkupPage.hpp"
#include "page/PageProtocol.hpp"
#include "page/PageResources.hpp"
#include "page/PageTemplate.hpp"
#include "page/RowData.hpp"

#include <algorithm>

namespace quessel::page {
namespace {

// Where the all-markup page has its content container: an empty one the rows script fills.
void appendRowsContainer(std::string& out) {
    out.append(R"(
    <div class="yaml-content virtual-content" id=")");
    out.append(protocol::rowsContainerId);
    out.append(R"(">)");
    appendContentEnd(out);
}

// The data element, empty; returns where its text goes. The text, JSON in which "<" is always
// escaped, cannot end the element early.
std::size_t appendDataElement(std::string& out) {
    out.append(R"(<script type="application/json" id=")");
    out.append(protocol::dataElementId);
    out.append(R"(">)");
    const std::size_t textAt = out.size();
    out.append("</script>");
    return textAt;
}

// The modules in the order they build on each other; the last one starts the page.
const std::string& virtualScript() {
    static const std::string script = scriptOfParts(
        {sortedArraysScript, searchMarksScript,     matchSearchScript,  errorColumnsScript,
         pageDataScript,     rowIndexScript,        rowTreeScript,      scrollGeometryScript,
         rowWriterScript,    rowPainterScript,      rowSelectionScript, unitCaseScript,
         pieceSearchScript,  matchEnumeratorScript, rowSearchScript,    virtualMatchesScript,
         treeCursorScript,   cursorPathScript,      cursorKeysScript,   viewStateScript,
         virtualRowsScript,  virtualPageScript});
    return script;
}

// The data runs at about 1.1 bytes per byte of YAML (the indentation and the syntax go, the
// markers come); a listing adds its line numbers and markers. Reserving a little more spares
// the regrowth copies of data of many megabytes.
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

GeneratedPage writeVirtualPage(const PageContent& content, Appearance appearance, int fontSize) {
    if (!hasRows(content)) {
        return {writeMarkupPage(content, appearance, fontSize), std::nullopt, 0};
    }
    std::string data;
    data.reserve(expectedDataSize(content));
    if (!appendRowData(data, content)) {
        // The document holds every character a marker could be.
        return {writeMarkupPage(content, appearance, fontSize), std::nullopt, 0};
    }
    GeneratedPage page;
    std::string& out = page.html;
    out.reserve(fixedPageSize(virtualScript()) + virtualStyleSheet.size());
    appendPageStart(out, appearance, fontSize, virtualStyleSheet);
    if (content.failure) {
        appendErrorBanner(out, *content.failure);
    }
    appendRowsContainer(out);
    page.dataAt = appendDataElement(out);
    appendPageEnd(out, virtualScript());
    page.data = std::move(data);
    return page;
}

} // namespace quessel::page
