// The coloured span of a value that is not a mapping or a sequence.
#include "app/page/ScalarMarkup.hpp"

#include "app/page/Decimal.hpp"
#include "app/page/HtmlEscape.hpp"
#include "yaml/ValueText.hpp"


namespace quessel::app {
namespace {

using yaml::YamlValue;

void appendStringSpan(std::string& out, std::string_view text) {
    out.append(R"(<span class="string">)");
    appendEscaped(out, text);
    out.append("</span>");
}

// A pair shows as "(key, value)", each in its one-line flow form.
// (Appended piece by piece: GCC 12 at -O3 misreads "(" + text as an overlapping copy.)
std::string pairText(const yaml::Pair& pair) {
    std::string text = "(";
    text.append(yaml::flowText(*pair.key));
    text.append(", ");
    text.append(yaml::flowText(*pair.value));
    text.push_back(')');
    return text;
}

} // namespace

void appendScalarMarkup(std::string& out, const YamlValue& value) {
    if (const auto* text = std::get_if<std::string>(&value.storage)) {
        appendStringSpan(out, *text);
    } else if (const auto* boolean = std::get_if<bool>(&value.storage)) {
        out.append(*boolean ? R"(<span class="boolean">true</span>)"
                            : R"(<span class="boolean">false</span>)");
    } else if (const auto* integer = std::get_if<std::int64_t>(&value.storage)) {
        out.append(R"(<span class="number">)");
        appendDecimal(out, *integer);
        out.append("</span>");
    } else if (const auto* real = std::get_if<double>(&value.storage)) {
        out.append(R"(<span class="number">)");
        out.append(yaml::floatText(*real));
        out.append("</span>");
    } else if (value.is<yaml::Null>()) {
        out.append(R"(<span class="null">null</span>)");
    } else if (const auto* pair = std::get_if<yaml::Pair>(&value.storage)) {
        appendStringSpan(out, pairText(*pair));
    } else {
        appendStringSpan(out, yaml::displayText(value)); // timestamps, data and sets
    }
}

} // namespace quessel::app
