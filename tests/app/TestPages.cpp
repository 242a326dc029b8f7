// A page source for window tests: the real page frame and script around a simple line listing.
#include "tests/app/TestPages.hpp"

#include "app/PlatformAppearance.hpp"
#include "app/page/HtmlEscape.hpp"
#include "app/page/PageResources.hpp"
#include "app/page/PageTemplate.hpp"

namespace quessel::testing {
namespace {

void appendLine(std::string& out, std::string_view line, int number) {
    const auto colon = line.find(':');
    std::string_view key = line.substr(0, std::min(colon, line.size()));
    while (!key.empty() && key.front() == ' ') {
        key.remove_prefix(1);
    }
    const std::string_view value = colon == std::string_view::npos ? "" : line.substr(colon + 1);
    const std::string id = "0000TEST-" + std::to_string(number);
    out += "<div class=\"line\"><span class=\"toggle\" id=\"toggle-" + id +
           "\" onclick=\"toggle('" + id + "')\">&#9660;</span><span class=\"key\">";
    app::appendEscaped(out, key);
    out += "</span>:<span class=\"content\" id=\"content-" + id + "\">";
    app::appendEscaped(out, value);
    out += "</span></div>";
}

} // namespace

app::YAMLWebView::PageSource testPages() {
    return [](std::string_view content, int fontSize) {
        std::string out;
        app::appendPageStart(out, app::platformAppearance(), fontSize);
        app::appendContentStart(out);
        int number = 0;
        for (std::size_t start = 0; start < content.size();) {
            const auto end = std::min(content.find('\n', start), content.size());
            appendLine(out, content.substr(start, end - start), number++);
            start = end + 1;
        }
        app::appendContentEnd(out);
        app::appendPageEnd(out, app::pageScript);
        return out;
    };
}

} // namespace quessel::testing
