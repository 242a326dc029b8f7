// The virtualised page as a string: its data decoded back into rows, and the text around it.
#include "page/MarkupPage.hpp"
#include "page/PageResources.hpp"
#include "page/PageTemplate.hpp"
#include "page/TreeRenderer.hpp"
#include "page/VirtualPage.hpp"
#include "tests/page/support/ValueBuilders.hpp"
#include "yaml/Utf8.hpp"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>

namespace quessel::page {
namespace {

using namespace yaml;
using test::mappingOf;

const std::string toggleGlyph = "\u25BC";

struct Row {
    std::vector<std::string> pieces; // the toggle marker decoded as the glyph
    unsigned depth = 0;
    unsigned kind = 0;
};

struct PageData {
    std::u32string markers;
    std::vector<Row> rows;
    std::string kinds; // as written, UTF-8
    bool listing = false;
    std::optional<std::int64_t> errorLine;
    std::optional<std::map<char16_t, std::int64_t>> unitCounts;
    std::string raw; // the JSON text
};

// A reader of exactly the JSON the page writes: one object of strings and integers.
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    void expect(char c) {
        if (at_ >= text_.size() || text_[at_] != c) {
            throw std::runtime_error(std::string("expected ") + c + " at " + std::to_string(at_));
        }
        ++at_;
    }
    bool peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
    bool done() const { return at_ == text_.size(); }

    std::string string() {
        expect('"');
        std::string out;
        while (!peek('"')) {
            const char c = text_.at(at_++);
            if (static_cast<unsigned char>(c) < 0x20) {
                throw std::runtime_error("raw control character in a string");
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            const char escape = text_.at(at_++);
            switch (escape) {
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case '"':
                out.push_back('"');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case '/':
                out.push_back('/');
                break;
            case 'u':
                utf8::append(out, static_cast<char32_t>(
                                      std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16)));
                at_ += 4;
                break;
            default:
                throw std::runtime_error("unexpected escape");
            }
        }
        expect('"');
        return out;
    }

    bool boolean() {
        for (const std::string_view word : {"true", "false"}) {
            if (text_.substr(at_, word.size()) == word) {
                at_ += word.size();
                return word == "true";
            }
        }
        throw std::runtime_error("expected a boolean at " + std::to_string(at_));
    }

    std::vector<std::int64_t> integers() {
        std::vector<std::int64_t> values;
        expect('[');
        while (!peek(']')) {
            values.push_back(integer());
            if (peek(',')) {
                expect(',');
            }
        }
        expect(']');
        return values;
    }

    std::int64_t integer() {
        std::size_t length = 0;
        const std::int64_t value = std::stoll(std::string(text_.substr(at_)), &length);
        at_ += length;
        return value;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

std::u32string scalars(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const utf8::Decoded decoded = utf8::decode(text, i);
        out.push_back(decoded.scalar);
        i += decoded.length;
    }
    return out;
}

std::string utf8Of(std::u32string_view text) {
    std::string out;
    for (const char32_t c : text) {
        utf8::append(out, c);
    }
    return out;
}

std::vector<Row> splitRows(const std::u32string& text, const std::u32string& markers) {
    std::vector<Row> rows;
    Row row;
    std::u32string piece;
    for (const char32_t c : text) {
        if (c == markers[0]) {
            row.pieces.push_back(utf8Of(piece));
            piece.clear();
        } else if (c == markers[1]) {
            EXPECT_TRUE(piece.empty()) << "text between the last piece and the row's end";
            rows.push_back(std::move(row));
            row = Row{};
        } else if (c == markers[2]) {
            piece += U'\u25BC';
        } else {
            piece.push_back(c);
        }
    }
    EXPECT_TRUE(piece.empty() && row.pieces.empty()) << "text after the last row";
    return rows;
}

// How often each UTF-16 unit occurs in the rows' pieces as the page shows them.
std::map<char16_t, std::int64_t> unitCountsOf(const std::vector<Row>& rows) {
    std::map<char16_t, std::int64_t> counts;
    for (const Row& row : rows) {
        for (const std::string& piece : row.pieces) {
            for (const char16_t unit : utf8::toUtf16(piece)) {
                ++counts[unit];
            }
        }
    }
    return counts;
}

std::string dataOf(const std::string& page) {
    const std::string start = R"(<script type="application/json" id="page-data">)";
    const std::size_t from = page.find(start);
    if (from == std::string::npos) {
        return {};
    }
    const std::size_t to = page.find("</script>", from);
    return page.substr(from + start.size(), to - from - start.size());
}

PageData decode(const std::string& page) {
    PageData data;
    data.raw = dataOf(page);
    JsonReader reader(data.raw);
    std::u32string text;
    reader.expect('{');
    while (!reader.peek('}')) {
        const std::string name = reader.string();
        reader.expect(':');
        if (name == "markers") {
            data.markers = scalars(reader.string());
        } else if (name == "pieces") {
            text = scalars(reader.string());
        } else if (name == "kinds") {
            data.kinds = reader.string();
        } else if (name == "listing") {
            data.listing = reader.boolean();
        } else if (name == "errorLine") {
            data.errorLine = reader.integer();
        } else if (name == "unitCounts") {
            const std::vector<std::int64_t> pairs = reader.integers();
            EXPECT_EQ(pairs.size() % 2, 0U);
            data.unitCounts.emplace();
            for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
                EXPECT_TRUE(pairs[i] > (i == 0 ? -1 : pairs[i - 2])) << "ascending units";
                (*data.unitCounts)[static_cast<char16_t>(pairs[i])] = pairs[i + 1];
            }
        } else {
            ADD_FAILURE() << "unknown member " << name;
        }
        if (reader.peek(',')) {
            reader.expect(',');
        }
    }
    reader.expect('}');
    EXPECT_TRUE(reader.done());
    EXPECT_EQ(data.markers.size(), 3U);
    data.rows = splitRows(text, data.markers);
    const std::u32string kinds = scalars(data.kinds);
    if (!data.listing) {
        EXPECT_EQ(kinds.size(), data.rows.size());
        for (std::size_t i = 0; i < kinds.size() && i < data.rows.size(); ++i) {
            data.rows[i].depth = (kinds[i] - 0x100) / 16;
            data.rows[i].kind = (kinds[i] - 0x100) % 16;
        }
    }
    if (data.unitCounts) {
        EXPECT_EQ(*data.unitCounts, unitCountsOf(data.rows)) << "the counts of the shown text";
    }
    return data;
}

PageData decodeValue(const YamlValue& value) {
    return decode(writeVirtualPage({"", &value, std::nullopt}, Appearance::light, 14).inlined());
}

PageData decodeListing(std::string_view text, std::optional<std::int64_t> errorLine) {
    const ErrorBanner banner{"Syntax error", errorLine};
    return decode(writeVirtualPage({text, nullptr, banner}, Appearance::light, 14).inlined());
}

// Kinds: sequence element 8, classes collapsible 0, string 1, number 2, boolean 3, null 4,
// bracket 5.
Row row(unsigned depth, unsigned kind, std::vector<std::string> pieces) {
    return Row{std::move(pieces), depth, kind};
}

void expectRows(const std::vector<Row>& actual, const std::vector<Row>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].pieces, expected[i].pieces) << "row " << i;
        EXPECT_EQ(actual[i].depth, expected[i].depth) << "row " << i;
        EXPECT_EQ(actual[i].kind, expected[i].kind) << "row " << i;
    }
}

// The text nodes the engine's HTML parser makes of markup without comments or raw-text elements:
// entities resolved, CR LF and lone CR as LF, NUL dropped.
std::vector<std::string> textNodesOf(std::string_view markup) {
    std::vector<std::string> nodes;
    std::size_t at = 0;
    while (at < markup.size()) {
        if (markup[at] == '<') {
            at = markup.find('>', at) + 1;
            continue;
        }
        const std::size_t end = std::min(markup.find('<', at), markup.size());
        std::string raw(markup.substr(at, end - at));
        std::string text;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '&') {
                const std::size_t semicolon = raw.find(';', i);
                const std::string entity = raw.substr(i, semicolon - i + 1);
                text += entity == "&amp;"    ? "&"
                        : entity == "&lt;"   ? "<"
                        : entity == "&gt;"   ? ">"
                        : entity == "&quot;" ? "\""
                        : entity == "&#39;"  ? "'"
                        : entity == "&nbsp;" ? "\u00A0"
                                             : throw std::runtime_error("entity " + entity);
                i = semicolon;
            } else if (raw[i] == '\r') {
                text.push_back('\n');
                i += i + 1 < raw.size() && raw[i + 1] == '\n' ? 1 : 0;
            } else if (raw[i] != '\0') {
                text.push_back(raw[i]);
            }
        }
        if (!text.empty()) {
            nodes.push_back(text);
        }
        at = end;
    }
    return nodes;
}

std::vector<std::string> nonEmptyPieces(const PageData& data) {
    std::vector<std::string> pieces;
    for (const Row& row : data.rows) {
        for (const std::string& piece : row.pieces) {
            if (!piece.empty()) {
                pieces.push_back(piece);
            }
        }
    }
    return pieces;
}

TEST(VirtualPageRows, MappingEntriesInKeyOrderWithTheirPiecesAndKinds) {
    const YamlValue value = mappingOf({{"b", std::int64_t{-7}},
                                       {"a", mappingOf({{"y", Sequence{}}, {"x", "text"}})},
                                       {"c", Null{}},
                                       {"\xC3\xA9", 1.5},
                                       {"d", true},
                                       {"e", Mapping{}}});
    expectRows(decodeValue(value).rows, {
                                            row(0, 0, {toggleGlyph, "a", ":", "2 items"}),
                                            row(1, 1, {"x", ": ", "text"}),
                                            row(1, 5, {"y", ": ", "[]"}),
                                            row(0, 2, {"b", ": ", "-7"}),
                                            row(0, 4, {"c", ": ", "null"}),
                                            row(0, 3, {"d", ": ", "true"}),
                                            row(0, 5, {"e", ": ", "{}"}),
                                            row(0, 2, {"\xC3\xA9", ": ", "1.5"}),
                                        });
}

TEST(VirtualPageRows, SequenceElementsCarryTheDashAndTheElementBit) {
    const YamlValue value =
        Sequence{"one", Sequence{std::int64_t{1}, mappingOf({{"k", false}})}, Mapping{}};
    expectRows(decodeValue(value).rows, {
                                            row(0, 9, {"-", " ", "one"}),
                                            row(0, 8, {toggleGlyph, "-", "2 items"}),
                                            row(1, 10, {"-", " ", "1"}),
                                            row(1, 8, {toggleGlyph, "-", "1 items"}),
                                            row(2, 3, {"k", ": ", "false"}),
                                            row(0, 13, {"-", " ", "{}"}),
                                        });
}

TEST(VirtualPageRows, EmptyKeysAndStringsStayEmptyPieces) {
    const YamlValue value = mappingOf({{"", ""}, {"k", ""}});
    expectRows(decodeValue(value).rows, {row(0, 1, {"", ": ", ""}), row(0, 1, {"k", ": ", ""})});
}

// Every kind of value and every character the page must treat specially: the pieces are the
// all-markup page's text nodes, in order, once the engine's parser has read them.
YamlValue everyKind() {
    Sequence all{
        "",
        Sequence{},
        Mapping{},
        Pair{BoxedValue("<k>"), BoxedValue(Sequence{"a", "b"})},
        Set{"x", "y & z"},
        Timestamp{1008385183, 100'000'000},
        Data{std::vector<std::uint8_t>(12, 0)},
        std::string("nul\0here", 8),
        "cr\rlf\r\nend\r",
        "\r\r\n",
        "nul\r\0\nbetween",
        "</script><script>alert(1)</script>",
        "<!-- <script>",
        "quote \" backslash \\ slash / tab \t ctl \x01\x1f del \x7f",
        "unicode \xE2\x80\xA8 \xF0\x9F\x98\x80 \xC4\xB0 \xCE\xA3",
        std::numeric_limits<double>::infinity(),
        std::int64_t{-9223372036854775807LL - 1},
    };
    return mappingOf({{"all", all},
                      {"<key> & 'q'", mappingOf({{"\r\n", Null{}}, {"nul\0", "v"}})},
                      {"seq", Sequence{Sequence{Sequence{"deep"}}}}});
}

TEST(VirtualPageRows, PiecesAreTheMarkupPagesTextNodesAsTheEngineReadsThem) {
    const YamlValue value = everyKind();
    const PageData data = decodeValue(value);
    EXPECT_EQ(nonEmptyPieces(data), textNodesOf(TreeRenderer().renderYAML(value, 0)));
    EXPECT_EQ(data.rows[7].pieces,
              (std::vector<std::string>{"-", " ", "(<k>, [a, b])"})); // pair text, sic
}

TEST(VirtualPageData, NothingInTheDataCanEndOrHideItsElement) {
    const PageData data = decodeValue(everyKind());
    EXPECT_EQ(data.raw.find('<'), std::string::npos);
    EXPECT_EQ(data.raw.find('\0'), std::string::npos);
    EXPECT_EQ(data.raw.find('\r'), std::string::npos);
    EXPECT_NE(data.raw.find("\\u003c/script>"), std::string::npos);
    for (const char c : data.raw) {
        EXPECT_GE(static_cast<unsigned char>(c), 0x20U);
    }
}

TEST(VirtualPageData, NulAfterAnUnfinishedSequenceDoesNotJoinTheBytesAroundIt) {
    // In the markup the NUL separates the bytes when the engine decodes them: two replacement
    // characters, never the euro sign the bytes would make without it.
    const ErrorBanner banner{"x", std::nullopt};
    const std::string text("a\xE2\x82\0\xAC", 5);
    const PageData data =
        decode(writeVirtualPage({text, nullptr, banner}, Appearance::light, 14).inlined());
    EXPECT_NE(data.raw.find("a\xE2\x82\xEF\xBF\xBD\xC2\x80"), std::string::npos);
    // How the engine replaces bytes that are not UTF-8 is its own: the page counts the units.
    EXPECT_FALSE(data.unitCounts.has_value());
    EXPECT_TRUE(decodeListing("valid: [\n", 1).unitCounts.has_value());
}

TEST(VirtualPageData, MarkersAvoidEveryCharacterThePiecesHold) {
    const auto markersFor = [](const YamlValue& value) { return decodeValue(value).markers; };
    EXPECT_EQ(markersFor(Sequence{"plain"}), U"\u0080\u0081\u0082");
    EXPECT_EQ(markersFor(mappingOf({{"\u0080", "\u0082"}})), U"\u0081\u0083\u0084");
    std::string controls;
    for (char32_t c = 0x80; c <= 0x9F; ++c) {
        utf8::append(controls, c);
    }
    const YamlValue allControls = Sequence{controls, "\uE000"};
    EXPECT_EQ(markersFor(allControls), U"\uE001\uE002\uE003");
    const PageData data = decodeValue(allControls);
    ASSERT_EQ(data.rows.size(), 2U);
    EXPECT_EQ(data.rows[0].pieces[2], controls);
    EXPECT_EQ(data.rows[1].pieces[2], "\uE000");
}

TEST(VirtualPageData, ADocumentHoldingEveryCandidateMarkerGetsTheMarkupPage) {
    std::string all;
    for (char32_t c = 0x80; c <= 0x9F; ++c) {
        utf8::append(all, c);
    }
    for (char32_t c = 0xE000; c <= 0xF8FF; ++c) {
        utf8::append(all, c);
    }
    const YamlValue value = Sequence{all};
    const PageContent content{"", &value, std::nullopt};
    const GeneratedPage page = writeVirtualPage(content, Appearance::light, 14);
    EXPECT_FALSE(page.data.has_value());
    EXPECT_EQ(page.html, writeMarkupPage(content, Appearance::light, 14));
}

TEST(VirtualPageRows, ThousandLevelsDeepAreWrittenWithoutRecursion) {
    YamlValue deep = "bottom";
    for (int level = 0; level < 999; ++level) {
        Sequence outer;
        outer.push_back(std::move(deep));
        deep = std::move(outer);
    }
    const PageData data = decodeValue(deep);
    ASSERT_EQ(data.rows.size(), 999U);
    EXPECT_EQ(data.rows[0].pieces, (std::vector<std::string>{toggleGlyph, "-", "1 items"}));
    EXPECT_EQ(data.rows[997].depth, 997U);
    EXPECT_EQ(data.rows[998].pieces, (std::vector<std::string>{"-", " ", "bottom"}));
    EXPECT_EQ(data.rows[998].depth, 998U);
    EXPECT_EQ(data.rows[998].kind, 9U);
}

TEST(VirtualPageListing, NumberedLinesWithTheErrorLineAndNoKinds) {
    const std::string text("a: 1\n\nb: [\r\n<c>\0\n", 17);
    const PageData data = decodeListing(text, 3);
    EXPECT_TRUE(data.listing);
    EXPECT_EQ(data.errorLine, 3);
    EXPECT_EQ(data.kinds, "");
    expectRows(data.rows,
               {row(0, 0, {"1", "a: 1"}), row(0, 0, {"2", "\u00A0"}), row(0, 0, {"3", "b: [\n"}),
                row(0, 0, {"4", "<c>"}), row(0, 0, {"5", "\u00A0"})});
    // The same text nodes as the all-markup listing.
    std::string markup;
    appendRawWithLineNumbers(markup, text, 3);
    EXPECT_EQ(nonEmptyPieces(data), textNodesOf(markup));
}

TEST(VirtualPageListing, WithoutAnErrorLineThereIsNone) {
    const PageData data = decodeListing("only", std::nullopt);
    EXPECT_TRUE(data.listing);
    EXPECT_FALSE(data.errorLine);
    EXPECT_EQ(data.raw.find("\"errorLine\""), std::string::npos);
    expectRows(data.rows, {row(0, 0, {"1", "only"})});
}

// The page with the content container's inside, the data element and the script taken out.
std::string frameOf(std::string page) {
    const std::size_t data = page.find(R"(<script type="application/json")");
    if (data != std::string::npos) {
        page.erase(data, page.find("</script>", data) + 9 - data);
    }
    const std::size_t open = page.find("<div class=\"yaml-content");
    const std::size_t inside = page.find('>', open) + 1;
    page.erase(open, inside - open);
    page.insert(open, "<CONTENT>");
    const std::size_t end = page.rfind("</div>\n\n    <script>");
    page.erase(open + 9, end - open - 9);
    const std::size_t script = page.rfind("<script>") + 8;
    page.replace(script, page.rfind("</script>") - script, "SCRIPT");
    return page;
}

TEST(VirtualPageFrame, TheTextAroundTheContentIsTheMarkupPagesAndTheStylesFollowItsSheet) {
    const YamlValue value = mappingOf({{"a", std::int64_t{1}}});
    const ErrorBanner banner = bannerForYamlError("2:1: error: x");
    for (const PageContent& content :
         {PageContent{"", &value, std::nullopt}, PageContent{"a\nb", nullptr, banner}}) {
        for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
            std::string page = writeVirtualPage(content, appearance, 17).inlined();
            const std::size_t extra = page.find(virtualStyleSheet);
            ASSERT_NE(extra, std::string::npos);
            EXPECT_EQ(page.compare(extra + virtualStyleSheet.size(), 8, "</style>"), 0);
            page.erase(extra, virtualStyleSheet.size());
            EXPECT_EQ(frameOf(page), frameOf(writeMarkupPage(content, appearance, 17)));
        }
    }
}

TEST(VirtualPageFrame, TheContainerIsEmptyAndTheDataFollowsIt) {
    const YamlValue value = Sequence{"x"};
    const std::string page =
        writeVirtualPage({"", &value, std::nullopt}, Appearance::light, 14).inlined();
    EXPECT_NE(page.find("\n    <div class=\"yaml-content virtual-content\" id=\"virtual-content\">"
                        "</div><script type=\"application/json\" id=\"page-data\">{"),
              std::string::npos);
    const std::string script = scriptOfParts(
        {sortedArraysScript, searchMarksScript,     matchSearchScript,  errorColumnsScript,
         pageDataScript,     rowIndexScript,        rowTreeScript,      scrollGeometryScript,
         rowWriterScript,    rowPainterScript,      rowSelectionScript, unitCaseScript,
         pieceSearchScript,  matchEnumeratorScript, rowSearchScript,    virtualMatchesScript,
         treeCursorScript,   cursorPathScript,      cursorKeysScript,   viewStateScript,
         virtualRowsScript,  virtualPageScript});
    EXPECT_NE(page.find("}</script>\n\n    <script>" + script + "</script>\n</body>\n</html>"),
              std::string::npos);
    EXPECT_TRUE(page.ends_with("</html>"));
}

TEST(VirtualPageFrame, ContentWithoutRowsGetsTheMarkupPage) {
    const YamlValue scalar = "just text";
    const YamlValue emptyMapping = Mapping{};
    const YamlValue emptySequence = Sequence{};
    for (const PageContent& content :
         {PageContent{"x", &scalar, std::nullopt}, PageContent{"{}", &emptyMapping, std::nullopt},
          PageContent{"[]", &emptySequence, std::nullopt},
          PageContent{"# only", nullptr, std::nullopt}}) {
        const GeneratedPage page = writeVirtualPage(content, Appearance::light, 14);
        EXPECT_FALSE(page.data.has_value());
        EXPECT_EQ(page.html, writeMarkupPage(content, Appearance::light, 14));
    }
}

} // namespace
} // namespace quessel::page
