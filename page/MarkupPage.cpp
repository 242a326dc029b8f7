// The all-markup page: every line of the document as elements, searched by walking the DOM.
#include "page/MarkupPage.hpp"

#include "page/BlankText.hpp"
#include "page/PageResources.hpp"
#include "page/PageTemplate.hpp"
#include "page/TreeRenderer.hpp"

#include <algorithm>
#include <string_view>

namespace quessel::page {
namespace {

// The tree's markup runs at about nine to ten bytes per byte of YAML; a listing line costs
// about a hundred bytes of markup besides its text. Reserving a little more than that spares
// the regrowth copies of a page of many megabytes, and reserved pages that are never written
// cost no memory. A page limited in lines reserves for at most that many tree lines (a
// collapsible line with its ids takes about 250 bytes) besides the text, not for a document it
// may give up on.
constexpr std::size_t treeBytesPerTextByte = 12;
constexpr std::size_t treeBytesPerLine = 256;
constexpr std::size_t listingBytesPerLine = 112;
constexpr std::size_t noLineLimit = static_cast<std::size_t>(-1);

std::size_t expectedBodySize(const PageContent& content, std::size_t lineLimit) {
    const std::size_t text = content.text.size();
    if (content.failure) {
        const auto lines = static_cast<std::size_t>(
            std::count(content.text.begin(), content.text.end(), '\n') + 1);
        return text + text / 8 + lines * listingBytesPerLine;
    }
    if (lineLimit != noLineLimit) {
        return std::min(text * treeBytesPerTextByte,
                        text + text / 8 + lineLimit * treeBytesPerLine);
    }
    return text * treeBytesPerTextByte;
}

// Whether the listing of `text` has more than `limit` lines, found without reading beyond the
// line after the limit.
bool listingExceeds(std::string_view text, std::size_t limit) {
    std::size_t lines = 1;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', at + 1)) {
        if (++lines > limit) {
            return true;
        }
    }
    return lines > limit;
}

// False when the tree would hold more lines than `lineLimit`; `out` is then unfinished. (A
// listing is measured before anything is written.)
bool appendBody(std::string& out, const PageContent& content, std::size_t lineLimit) {
    if (content.failure) {
        appendRawWithLineNumbers(out, content.text, *content.failure);
    } else if (content.value != nullptr || content.documents != nullptr) {
        TreeRenderer renderer;
        renderer.limitLines(lineLimit);
        if (content.documents != nullptr) {
            renderer.appendDocuments(out, *content.documents);
        } else {
            renderer.appendYAML(out, *content.value, 0);
        }
        return !renderer.exceeded();
    } else if (isBlankText(content.text)) {
        out.append(R"(<span class="null">Empty document</span>)");
    } else {
        out.append(R"(<span class="null">null</span>)"); // comments only, for example
    }
    return true;
}

const std::string& markupScript() {
    static const std::string script =
        scriptOfParts({sortedArraysScript, searchMarksScript, matchSearchScript, errorColumnsScript,
                       rowTreeScript, treeCursorScript, cursorPathScript, cursorKeysScript,
                       viewStateScript, markupRowsScript, markupPageScript});
    return script;
}

} // namespace

std::string writeMarkupPage(const PageContent& content, Appearance appearance, int fontSize) {
    return *writeMarkupPageWithin(content, appearance, fontSize, noLineLimit);
}

std::optional<std::string> writeMarkupPageWithin(const PageContent& content, Appearance appearance,
                                                 int fontSize, std::size_t lineLimit) {
    if (content.failure && listingExceeds(content.text, lineLimit)) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(fixedPageSize(markupScript()) + expectedBodySize(content, lineLimit));
    appendPageStart(out, appearance, fontSize);
    if (content.failure) {
        appendErrorBanner(out, *content.failure);
    }
    appendContentStart(out);
    if (!appendBody(out, content, lineLimit)) {
        return std::nullopt;
    }
    appendContentEnd(out);
    appendPageEnd(out, markupScript());
    return out;
}

} // namespace quessel::page
