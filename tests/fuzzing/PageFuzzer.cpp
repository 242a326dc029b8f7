// libFuzzer target: any bytes give both pages (and the automatic choice between them) without a
// crash, a hang or unbounded memory; every page is whole, and a virtualised page's data cannot end
// or hide the element it is written into.
#include "page/PageGenerator.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using quessel::page::Appearance;
using quessel::page::GeneratedPage;
using quessel::page::PageGenerator;
using quessel::page::PageKind;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The data is one JSON object whose strings hold no raw control character, and no "<", which
// could end the element ("</script") or hide the rest of the page ("<!--").
void checkData(const std::string& data) {
    require(data.starts_with(R"({"markers":")") && data.ends_with("}"));
    for (const char c : data) {
        require(c != '<' && static_cast<unsigned char>(c) >= 0x20);
    }
}

void checkPage(GeneratedPage page) {
    require(page.html.starts_with("<!DOCTYPE html>\n") && page.html.ends_with("</html>"));
    if (!page.data) {
        return;
    }
    checkData(*page.data);
    const std::string_view element = R"(<script type="application/json" id="page-data">)";
    require(page.html.find(element) + element.size() == page.dataAt);
    require(page.html.compare(page.dataAt, 9, "</script>") == 0);
    const std::string fetching = page.fetching({"quessel-page://data/1/0"});
    require(fetching.size() > page.html.size());
    const std::size_t shell = page.html.size();
    const std::size_t data = page.data->size();
    require(std::move(page).inlined().size() == shell + data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const PageKind kind : {PageKind::markup, PageKind::virtualised, PageKind::automatic}) {
        const PageGenerator generator([] { return Appearance::dark; }, kind);
        checkPage(generator.generate(text, 14));
    }
    return 0;
}
