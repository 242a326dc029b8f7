// What page generation and the pages' scripts agree on, defined once.
#include "page/PageProtocol.hpp"

#include "page/Decimal.hpp"
#include "yaml/Utf8.hpp"

#include <initializer_list>
#include <iterator>
#include <utility>

namespace quessel::page::protocol {
namespace {

using Member = std::pair<std::string_view, std::string_view>;

// A script string literal: every character outside printable ASCII, and the quote and backslash,
// as an escape.
void appendLiteral(std::string& out, std::string_view text) {
    static constexpr char digits[] = "0123456789abcdef";
    out.push_back('\'');
    for (std::size_t i = 0; i < text.size();) {
        const yaml::utf8::Decoded decoded = yaml::utf8::decode(text, i);
        i += decoded.length;
        const char32_t c = decoded.scalar;
        if (c >= 0x20 && c < 0x7F && c != '\'' && c != '\\') {
            out.push_back(static_cast<char>(c));
            continue;
        }
        out.append("\\u");
        for (int shift = 12; shift >= 0; shift -= 4) {
            out.push_back(digits[(c >> static_cast<unsigned>(shift)) & 0xFU]);
        }
    }
    out.push_back('\'');
}

void appendName(std::string& out, std::string_view name) {
    out.append(name);
    out.append(": ");
}

void appendTexts(std::string& out, std::string_view name, std::initializer_list<Member> members) {
    appendName(out, name);
    out.append("Object.freeze({");
    for (const Member& member : members) {
        if (&member != members.begin()) {
            out.append(", ");
        }
        appendName(out, member.first);
        appendLiteral(out, member.second);
    }
    out.append("}),\n");
}

void appendNumber(std::string& out, std::string_view name, std::uint32_t value) {
    appendName(out, name);
    appendDecimal(out, value);
    out.append(",\n");
}

void appendRowKinds(std::string& out) {
    appendNumber(out, "rowKindBase", rowKindBase);
    appendNumber(out, "depthStep", depthStep);
    appendNumber(out, "sequenceElement", sequenceElement);
    // Every class by its name; the collapsible class, which has no value span, by that word.
    appendName(out, "rowClass");
    out.append("Object.freeze({");
    for (unsigned i = 0; i < std::size(rowClassNames); ++i) {
        out.append(i == 0 ? "" : ", ");
        appendName(out, i == static_cast<unsigned>(RowClass::collapsible) ? "collapsible"
                                                                          : rowClassNames[i]);
        appendDecimal(out, i);
    }
    out.append("}),\nrowClassNames: Object.freeze([");
    for (unsigned i = 0; i < std::size(rowClassNames); ++i) {
        out.append(i == 0 ? "" : ", ");
        appendLiteral(out, rowClassNames[i]);
    }
    out.append("]),\n");
}

} // namespace

void appendProtocolScript(std::string& out) {
    out.append("const Protocol = Object.freeze({\n");
    appendTexts(out, "id", {{"data", dataElementId}, {"rows", rowsContainerId}});
    appendTexts(out, "field",
                {{"markers", field::markers},
                 {"pieces", field::pieces},
                 {"kinds", field::kinds},
                 {"listing", field::listing},
                 {"errorLine", field::errorLine},
                 {"errorMarks", field::errorMarks},
                 {"layouts", field::layouts},
                 {"unitCounts", field::unitCounts},
                 {"parts", field::parts}});
    appendRowKinds(out);
    appendNumber(out, "pixelsPerLevel", pixelsPerLevel);
    appendTexts(out, "className",
                {{"line", className::line},
                 {"key", className::key},
                 {"bracket", className::bracket},
                 {"toggle", className::toggle},
                 {"preview", className::preview},
                 {"content", className::content},
                 {"collapsed", className::collapsed},
                 {"visible", className::visible},
                 {"rawContent", className::rawContent},
                 {"rawLine", className::rawLine},
                 {"errorLine", className::errorLine},
                 {"cut", className::cut},
                 {"errorEnd", className::errorEnd},
                 {"errorDetail", className::errorDetail},
                 {"lineNumber", className::lineNumber},
                 {"lineContent", className::lineContent},
                 {"errorBanner", className::errorBanner},
                 {"highlight", className::highlight},
                 {"current", className::current},
                 {"document", className::document},
                 {"tag", className::tag},
                 {"anchor", className::anchor},
                 {"alias", className::alias},
                 {"merged", className::merged}});
    const auto code = [](const char& c) { return std::string_view(&c, 1); };
    appendTexts(out, "layout",
                {{"toggle", code(layout::toggle)},
                 {"key", code(layout::key)},
                 {"mergedKey", code(layout::mergedKey)},
                 {"dash", code(layout::dash)},
                 {"document", code(layout::document)},
                 {"text", code(layout::text)},
                 {"value", code(layout::value)},
                 {"preview", code(layout::preview)},
                 {"tag", code(layout::tag)},
                 {"anchor", code(layout::anchor)},
                 {"alias", code(layout::alias)}});
    appendTexts(out, "errorColumns",
                {{"attribute", errorColumnsAttribute}, {"highlight", errorColumnHighlight}});
    appendTexts(out, "idPrefix",
                {{"toggle", idPrefix::toggle},
                 {"preview", idPrefix::preview},
                 {"content", idPrefix::content}});
    appendTexts(out, "glyph", {{"toggle", toggleGlyph}, {"emptyLine", emptyLineText}});
    out.append("});\n");
}

} // namespace quessel::page::protocol
