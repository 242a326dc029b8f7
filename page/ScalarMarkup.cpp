// The coloured span of a value that is not a mapping or a sequence.
#include "page/ScalarMarkup.hpp"

#include "page/HtmlEscape.hpp"
#include "page/ScalarText.hpp"

#include <array>
#include <string_view>

namespace quessel::page {
namespace {

// Indexed by ScalarClass.
constexpr std::array<std::string_view, 4> openingTags = {
    R"(<span class="string">)", R"(<span class="number">)", R"(<span class="boolean">)",
    R"(<span class="null">)"};

} // namespace

void appendScalarMarkup(std::string& out, const yaml::YamlValue& value) {
    const ScalarText scalar(value);
    out.append(openingTags[static_cast<std::size_t>(scalar.kind())]);
    if (scalar.kind() == ScalarClass::string) {
        appendEscaped(out, scalar.text());
    } else {
        out.append(scalar.text()); // digits, signs, words: nothing to escape
    }
    out.append("</span>");
}

} // namespace quessel::page
