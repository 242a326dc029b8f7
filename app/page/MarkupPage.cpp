// The all-markup page: every line of the document as elements, searched by walking the DOM.
#include "app/page/MarkupPage.hpp"

#include "app/page/BlankText.hpp"
#include "app/page/PageResources.hpp"
#include "app/page/PageTemplate.hpp"
#include "app/page/TreeRenderer.hpp"

namespace quessel::app {
namespace {

// Tree markup runs at about five to seven bytes per byte of YAML and the listing at about
// ninety bytes per line; reserving for the common case spares most regrowth copies of a
// many-megabyte page, and untouched reserved pages cost no memory.
constexpr std::size_t reservedBytesPerTextByte = 8;

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
    out.reserve(fixedPageSize(pageScript) + content.text.size() * reservedBytesPerTextByte);
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
