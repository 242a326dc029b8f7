// The all-markup page: every line of the document as elements, searched by walking the DOM.
#include "app/page/MarkupPage.hpp"

#include "app/page/BlankText.hpp"
#include "app/page/PageResources.hpp"
#include "app/page/PageTemplate.hpp"
#include "app/page/TreeRenderer.hpp"

#include <algorithm>

namespace quessel::app {
namespace {

// The tree's markup runs at about nine to ten bytes per byte of YAML; a listing line costs
// about a hundred bytes of markup besides its text. Reserving a little more than that spares
// the regrowth copies of a page of many megabytes, and reserved pages that are never written
// cost no memory.
constexpr std::size_t treeBytesPerTextByte = 12;
constexpr std::size_t listingBytesPerLine = 112;

std::size_t expectedBodySize(const PageContent& content) {
    if (content.failure) {
        const auto lines = static_cast<std::size_t>(
            std::count(content.text.begin(), content.text.end(), '\n') + 1);
        return content.text.size() + content.text.size() / 8 + lines * listingBytesPerLine;
    }
    return content.text.size() * treeBytesPerTextByte;
}

void appendBody(std::string& out, const PageContent& content) {
    if (content.failure) {
        appendRawWithLineNumbers(out, content.text, content.failure->errorLine);
    } else if (content.value != nullptr) {
        TreeRenderer().appendYAML(out, *content.value, 0);
    } else if (isBlankText(content.text)) {
        out.append(R"(<span class="null">Empty document</span>)");
    } else {
        out.append(R"(<span class="null">null</span>)"); // comments only, for example
    }
}

} // namespace

std::string writeMarkupPage(const PageContent& content, Appearance appearance, int fontSize) {
    std::string out;
    out.reserve(fixedPageSize(pageScript) + expectedBodySize(content));
    appendPageStart(out, appearance, fontSize);
    if (content.failure) {
        appendErrorBanner(out, content.failure->message);
    }
    appendContentStart(out);
    appendBody(out, content);
    appendContentEnd(out);
    appendPageEnd(out, pageScript);
    return out;
}

} // namespace quessel::app
