// The virtualised page held against the all-markup page on real documents: every file of the
// real-world corpus, every input of the YAML test suite and documents made for edge cases, both
// pages in the real web engine. For a set of search texts the two pages must send the same
// matchUpdate messages (totals, and the current index while stepping forward past the first
// matches and back past the last), mark the same text at the same place of the same line as
// current at every step, hold as many rows as the other has lines, and show the rows at the top
// and every row holding a current match with the same pieces, classes and left positions. Then
// the same keys pressed on both must put the cursor on the same row, drawn alike and named alike
// to the host, and leave the same nodes collapsed as the view state names them, which the markup
// page's state restores on the virtualised page.
#include "page/PageGenerator.hpp"
#include "tests/page/support/WebPageHarness.hpp"
#include "tests/support/TestDocuments.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::page::test {
namespace {

namespace fs = std::filesystem;
using quessel::testing::corpusDocuments;
using quessel::testing::suiteDocuments;
using namespace std::chrono_literals;

// A search text, whether the current match is followed forward past the first matches and back
// past the last ones, and whether large documents are searched for it too (the all-markup page
// takes up to seconds per text there).
struct SearchText {
    std::string text;
    bool walked;
    bool onLarge;
};

// Frequent letters and signs, the page's own words and glyph ("items", the toggle), the words of
// typed scalars, markup characters, the white space between the body's elements and a listing's
// empty lines, texts that span two pieces on neither page, the letters whose lower case is
// irregular or that lower-case to them, texts typed letter by letter (a text that extends the
// previous one is searched among its matches), and an absent text.
const std::vector<SearchText> searchTexts = {
    {"e", true, true},        {" ", true, false},        {":", false, false},
    {"-", false, false},      {"\u25BC", true, false},   {"i", false, false},
    {"\u0131", true, false},  {"\u0130", false, false},  {"\u03C3", false, false},
    {"\u03C2", false, false}, {"\u03A3", true, false},   {"\"", true, false},
    {"items", false, false},  {"1", false, false},       {"na", false, true},
    {"nam", false, true},     {"name", false, true},     {"true", false, false},
    {"null", false, false},   {"<", false, false},       {"&", false, false},
    {"- ", false, false},     {"  ", false, false},      {"\u00A0", false, false},
    {"zzqxj", false, true},   {"i\u0307", false, false}, {"\u03C3\u03C2", false, false}};

// Documents of more bytes than this are searched for the texts marked onLarge only.
constexpr std::size_t largeDocument = 50 * 1024;

// Steps taken forward from the first match, then back past it to the last ones.
constexpr int walkSteps = 2;
// Rows whose pieces and positions are compared, from the top of the page.
constexpr int sampleRows = 20;

// What both pages run in one evaluation: every search with its walk, recorded. On the
// virtualised page `expected` holds the markup page's record and the result is the list of
// differences; on the markup page it is null and the result is the record.
constexpr std::string_view pageScript = R"JS(
(() => {
'use strict';
const container = document.getElementById('virtual-content');
const virtualised = container !== null;
const lineSelector = virtualised ? '#virtual-content > .line, #virtual-content > .raw-line'
                                 : '.line, .raw-line';
// Long pieces are shown as a window on the virtualised page, with an ellipsis (class "cut") at
// each end that cuts the piece, naming the offsets of the part it stands for.
const isCut = (node) => node.nodeType === Node.ELEMENT_NODE && node.classList.contains('cut');
const hiddenBy = (cut) => Number(cut.dataset.to) - Number(cut.dataset.from);
function shownText(node) {
    if (node.nodeType === Node.TEXT_NODE) {
        return node.nodeValue;
    }
    let text = '';
    for (const child of node.childNodes) {
        text += isCut(child) ? '' : shownText(child);
    }
    return text;
}

let lineIndex = null;
function rowOf(line) {
    if (virtualised) {
        return line.row;
    }
    if (lineIndex === null) {
        lineIndex = new Map();
        document.querySelectorAll(lineSelector).forEach((element, i) => lineIndex.set(element, i));
    }
    return lineIndex.get(line);
}

// A line's own pieces: its element children except a nested content, with the text nodes and
// marks between them joined into one piece, as the engine shows them side by side.
function eachPiece(line, visit) {
    let bare = false;
    let index = -1;
    for (const node of line.childNodes) {
        const isPiece = node.nodeType === Node.ELEMENT_NODE && node.tagName !== 'MARK';
        if (isPiece && node.classList.contains('content')) {
            continue;
        }
        if (isPiece || !bare) {
            index++;
        }
        bare = !isPiece;
        visit(node, index, isPiece);
    }
}
// The pieces' texts as shown, their classes, and how many characters the cuts of each hide
// before and after what it shows.
function pieces(line) {
    const texts = [];
    const classes = [];
    const hidden = [];
    eachPiece(line, (node, index, isPiece) => {
        if (texts.length === index) {
            texts.push('');
            classes.push(isPiece ? node.className : '');
            hidden.push([0, 0]);
        }
        texts[index] += shownText(node);
        if (isPiece) {
            for (const child of node.children) {
                if (isCut(child)) {
                    hidden[index][child === node.firstChild ? 0 : 1] += hiddenBy(child);
                }
            }
        }
    });
    if (line.classList.contains('raw-line')) {
        // The virtualised listing shows a line's lone CR (a line feed once parsed) as a space,
        // so that the line stays one row; searching still sees the line feed.
        for (let i = 0; i < texts.length; i++) {
            texts[i] = texts[i].replace(/\n/g, ' ');
        }
    }
    return [texts, classes, hidden];
}
// The piece holding a mark and the mark's offset in the whole piece, cuts included.
function locate(mark, line, hidden) {
    let found = null;
    let before = 0;
    let lastIndex = -1;
    eachPiece(line, (node, index, isPiece) => {
        if (found !== null) {
            return;
        }
        if (index !== lastIndex) {
            before = 0;
            lastIndex = index;
        }
        if (node === mark || node.contains(mark)) {
            const range = document.createRange();
            range.setStart(node, 0);
            range.setEndBefore(mark);
            const shownBefore = node === mark ? 0 : shownText(range.cloneContents()).length;
            found = [index, hidden[index][0] + before + shownBefore];
        }
        before += shownText(node).length;
    });
    return found;
}

// Where the line's first piece starts in the page, as if neither the page nor a row scrolled to
// show a mark far to the right were scrolled sideways.
function rowRecord(line) {
    const [texts, classes, hidden] = pieces(line);
    const first = line.firstElementChild;
    return {row: rowOf(line), className: line.className, texts: texts, classes: classes,
            hidden: hidden,
            left: first ? first.getBoundingClientRect().left + window.scrollX + line.scrollLeft
                        : null};
}

// The rows compared piece by piece: the first ones, or on a listing of an invalid document those
// around the error line, which the virtualised listing shows first.
function sampledRows() {
    let lines = [...document.querySelectorAll(lineSelector)];
    const errorLine = lines.find(line => line.classList.contains('error-line'));
    const from = errorLine === undefined ? 0 : Math.max(0, rowOf(errorLine) - sampleRows / 5);
    const to = errorLine === undefined ? sampleRows : rowOf(errorLine) + sampleRows / 5 + 1;
    return lines.filter(line => rowOf(line) >= from && rowOf(line) < to &&
                                !line.classList.contains('virtual-parked'))
        .sort((a, b) => rowOf(a) - rowOf(b)).map(rowRecord);
}

function rowCount() {
    if (!virtualised) {
        return document.querySelectorAll(lineSelector).length;
    }
    const pitch = parseFloat(container.style.getPropertyValue('--row-pitch'));
    return Math.round(parseFloat(container.style.height) / pitch);
}

// The current match as the user sees it. Where lower-casing lengthened a text, a match can lie
// past its end: the markup page marks it with an empty mark, the virtualised page marks
// nothing. Both show nothing.
function current() {
    const marks = document.querySelectorAll('mark.highlight.current');
    if (marks.length === 0 || (marks.length === 1 && marks[0].textContent === '')) {
        return null;
    }
    if (marks.length !== 1) {
        return {marks: marks.length};
    }
    const mark = marks[0];
    const line = mark.closest(lineSelector);
    if (line === null) {
        return {text: mark.textContent, row: -1};
    }
    const record = rowRecord(line);
    const [piece, offset] = locate(mark, line, record.hidden);
    return {text: mark.textContent, row: rowOf(line), piece: piece, offset: offset, line: record};
}

function record() {
    const record = {rows: rowCount(), sampled: sampledRows(), walks: []};
    // The first row collapsed, as a click on its toggle does: a search whose current match lies
    // inside it must open it on both pages alike.
    const firstRow = [...document.querySelectorAll(lineSelector)].find(line => rowOf(line) === 0);
    const firstToggle = firstRow && firstRow.querySelector(':scope > .toggle');
    if (firstToggle) {
        firstToggle.click();
    }
    for (const [text, walked] of searches) {
        highlightMatches(text);
        const walk = [current()];
        for (let i = 0; walked && i < steps; i++) {
            navigateMatch(true);
            walk.push(current());
        }
        for (let i = 0; walked && i < 2 * steps; i++) {
            navigateMatch(false);
            walk.push(current());
        }
        record.walks.push(walk);
    }
    highlightMatches('');
    record.cursor = cursorWalk();
    record.folds = folds();
    // The markup page's folds, restored on the virtualised page from every node open, come back
    // the same.
    if (expected !== null && expected.folds !== null) {
        expandAll();
        restoreViewState({collapsed: expected.folds[0], except: expected.folds[1], top: null});
        record.restored = folds();
    }
    return record;
}

// What the cursor's walk left collapsed, as the view state names it.
function folds() {
    const state = viewState();
    return state && [state.collapsed, state.except];
}

// Moves across the ends, into and out of nodes, by level, by a screen and by subtree; after each
// key, the cursor's node as the host reads it and its row as drawn.
const cursorKeys = ['End', 'Home', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight',
                    'ArrowRight', 'ArrowLeft', '2', 'PageDown', ['ArrowRight', true], 'j', 'End',
                    '1', 'k', ' ', 'ArrowRight', 'ArrowDown'];
function cursorWalk() {
    const walk = [];
    for (const pressed of cursorKeys) {
        const [key, shiftKey] = Array.isArray(pressed) ? pressed : [pressed, false];
        document.body.dispatchEvent(
            new KeyboardEvent('keydown', {key, shiftKey, bubbles: true, cancelable: true}));
        const node = cursorNode();
        const drawn = [...document.querySelectorAll(lineSelector)].filter(
            line => line.classList.contains('cursor'));
        walk.push({node: node && [node.document, node.steps, node.line],
                   row: drawn.length === 1 ? rowRecord(drawn[0]) : drawn.length});
    }
    return walk;
}

// A virtualised piece equals the markup piece, or is the part of it between its cuts.
function samePiece(shown, [before, after], whole) {
    return shown === whole.substring(before, whole.length - after) &&
           before + shown.length + after === whole.length;
}
function samePieces(got, wanted) {
    return got.texts.length === wanted.texts.length &&
           got.texts.every((piece, i) => samePiece(piece, got.hidden[i], wanted.texts[i]));
}

function differences(actual, expected) {
    const out = [];
    const say = (what, got, wanted) =>
        out.push(what + ': virtualised ' + JSON.stringify(got) + ', markup ' + JSON.stringify(wanted));
    if (actual.rows !== expected.rows) {
        say('rows', actual.rows, expected.rows);
    }
    const compareRows = (where, got, wanted) => {
        if (got.className !== wanted.className) {
            say(where + ' class', got.className, wanted.className);
        }
        if (JSON.stringify(got.classes) !== JSON.stringify(wanted.classes)) {
            say(where + ' piece classes', got.classes, wanted.classes);
        }
        if (!samePieces(got, wanted)) {
            say(where + ' pieces', got.texts, wanted.texts);
        }
        // Layout positions are multiples of 1/64 px; both pages lay out the same boxes.
        if (got.left === null || wanted.left === null || Math.abs(got.left - wanted.left) > 0.02) {
            say(where + ' left', got.left, wanted.left);
        }
    };
    for (const wanted of expected.sampled) {
        const got = actual.sampled.find(r => r.row === wanted.row);
        if (got === undefined) {
            out.push('row ' + wanted.row + ' not rendered');
        } else {
            compareRows('row ' + wanted.row, got, wanted);
        }
    }
    searches.forEach(([text], t) => {
        expected.walks[t].forEach((wanted, step) => {
            const got = actual.walks[t][step];
            const where = 'search ' + JSON.stringify(text) + ' step ' + step;
            if (wanted === null || got === null || wanted.row === undefined ||
                got.row === undefined) {
                // No current mark, or several.
                if ((wanted === null) !== (got === null) ||
                    (wanted !== null && got.marks !== wanted.marks)) {
                    say(where, got, wanted);
                }
                return;
            }
            if (wanted.row < 0 || got.row < 0) {
                // In the body's text outside the rows.
                if (got.text !== wanted.text || got.row !== wanted.row) {
                    say(where, got, wanted);
                }
                return;
            }
            if (got.text !== wanted.text || got.row !== wanted.row || got.piece !== wanted.piece ||
                got.offset !== wanted.offset) {
                say(where, got, wanted);
            } else {
                compareRows(where + ' row ' + wanted.row, got.line, wanted.line);
            }
        });
    });
    expected.cursor.forEach((wanted, step) => {
        const got = actual.cursor[step];
        const where = 'cursor after ' + JSON.stringify(cursorKeys.slice(0, step + 1));
        if (JSON.stringify(got.node) !== JSON.stringify(wanted.node)) {
            say(where, got.node, wanted.node);
        } else if (typeof got.row !== 'object' || typeof wanted.row !== 'object') {
            if (got.row !== wanted.row) {
                say(where + ' rows drawn', got.row, wanted.row);
            }
        } else {
            compareRows(where, got.row, wanted.row);
        }
    });
    if (JSON.stringify(actual.folds) !== JSON.stringify(expected.folds)) {
        say('folds', actual.folds, expected.folds);
    }
    if (expected.folds !== null && JSON.stringify(actual.restored) !== JSON.stringify(expected.folds)) {
        say('folds restored', actual.restored, expected.folds);
    }
    return out.slice(0, 12);
}

const actual = record();
return expected === null ? actual : differences(actual, expected);
})()
)JS";

// The text as a JSON string, which is also a script string literal.
std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out.append(escaped);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

// The script for the searches of a document, given the markup page's record or "null".
std::string scriptFor(const std::vector<const SearchText*>& searches, std::string_view expected) {
    std::string list = "[";
    for (const SearchText* search : searches) {
        list += (list.size() > 1 ? ",[" : "[") + jsonString(search->text) +
                (search->walked ? ",true]" : ",false]");
    }
    list += "]";
    // A block, so that its constants do not outlive the evaluation.
    return "{ const searches = " + list + ", steps = " + std::to_string(walkSteps) +
           ", sampleRows = " + std::to_string(sampleRows) +
           ", expected = " + std::string(expected) + ";\n" + std::string(pageScript) + "\n}";
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The totals of the searches, read from the messages a page sent: one after each search, and
// one after each step of a walked search that found something.
std::vector<int> totalsOf(const std::vector<MatchUpdate>& messages, std::size_t first,
                          const std::vector<const SearchText*>& searches) {
    std::vector<int> totals;
    std::size_t i = first;
    while (i < messages.size() && totals.size() < searches.size()) {
        const bool walked = searches[totals.size()]->walked;
        totals.push_back(messages[i].total);
        i += 1 + (walked && messages[i].total > 0 ? 3 * walkSteps : 0);
    }
    return totals;
}

std::vector<std::string> messagesOf(const std::vector<MatchUpdate>& messages, std::size_t first) {
    std::vector<std::string> out;
    for (std::size_t i = first; i < messages.size(); ++i) {
        out.push_back(std::to_string(messages[i].current) + "/" +
                      std::to_string(messages[i].total));
    }
    return out;
}

// One web view for every document: loading a page into it costs far less than a new view.
class EquivalenceFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness_ = std::make_unique<WebPageHarness>();
        // A low view: the virtualised page renders a screen above and below it and writes every
        // rendered row anew on each search and step, so fewer rows keep the test quick. Its rows
        // at the top still reach past the sampled ones (about 26 of 18 px with the title bar).
        gtk_window_set_default_size(GTK_WINDOW(gtk_widget_get_root(GTK_WIDGET(harness_->view()))),
                                    800, 300);
    }
    static void TearDownTestSuite() { harness_.reset(); }

    void SetUp() override {
        ASSERT_NE(gdk_display_get_default(), nullptr)
            << "no display: run under scripts/with-display";
    }

    // Both pages of the document answer alike; false when the document has no virtualised
    // page (a scalar or an empty document gets the markup page whatever the kind).
    bool expectSamePages(const std::string& name, const std::string& text) {
        const std::string markup = markupPages_.generateHTML(text, 14);
        const std::string virtualised = virtualPages_.generateHTML(text, 14);
        if (virtualised.find(R"(id="virtual-content")") == std::string::npos) {
            return false;
        }
        std::vector<const SearchText*> searches;
        for (const SearchText& search : searchTexts) {
            if (search.onLarge || text.size() <= largeDocument) {
                searches.push_back(&search);
            }
        }
        WebPageHarness& harness = *harness_;
        // Generous limits: the markup page of a 1.5 MB document takes seconds to load and to
        // search on a loaded machine. They stop a hung engine, they time nothing.
        const auto limit = std::chrono::milliseconds(240s);

        EXPECT_TRUE(harness.load(markup, limit)) << name;
        std::size_t first = harness.matchUpdates().size();
        const std::optional<std::string> expected =
            harness.evaluate(scriptFor(searches, "null"), limit);
        if (!expected) {
            ADD_FAILURE() << name << ": the markup page's script failed";
            return true;
        }
        const std::vector<std::string> markupMessages = messagesOf(harness.matchUpdates(), first);
        const std::vector<int> markupTotals = totalsOf(harness.matchUpdates(), first, searches);

        EXPECT_TRUE(harness.load(virtualised, limit)) << name;
        first = harness.matchUpdates().size();
        const std::optional<std::string> differences =
            harness.evaluate(scriptFor(searches, *expected), limit);
        // The messages were sent before the script's result; wait only in case the engine
        // delivers them later.
        harness.waitForMatchUpdates(first + markupMessages.size(), 10s);
        if (!differences) {
            ADD_FAILURE() << name << ": the virtualised page's script failed";
            return true;
        }
        const std::vector<int> virtualTotals = totalsOf(harness.matchUpdates(), first, searches);
        for (std::size_t i = 0; i < searches.size(); ++i) {
            const int markupTotal = i < markupTotals.size() ? markupTotals[i] : -1;
            const int virtualTotal = i < virtualTotals.size() ? virtualTotals[i] : -1;
            EXPECT_EQ(virtualTotal, markupTotal)
                << name << ": search " << jsonString(searches[i]->text);
        }
        EXPECT_EQ(messagesOf(harness.matchUpdates(), first), markupMessages) << name;
        EXPECT_EQ(*differences, "[]") << name;
        return true;
    }

private:
    static inline std::unique_ptr<WebPageHarness> harness_;
    const PageGenerator markupPages_{[] { return Appearance::light; }, PageKind::markup};
    const PageGenerator virtualPages_{[] { return Appearance::light; }, PageKind::virtualised};
};

// The documents are split into shards, each a test of its own, so that two run side by side.
constexpr int shards = 4;

class PageEquivalence : public EquivalenceFixture, public ::testing::WithParamInterface<int> {
protected:
    void expectSamePagesForShard(const std::vector<fs::path>& documents, std::size_t atLeast) {
        ASSERT_GE(documents.size(), atLeast);
        std::size_t compared = 0;
        for (std::size_t i = static_cast<std::size_t>(GetParam()); i < documents.size();
             i += shards) {
            compared += expectSamePages(documents[i].string(), readFile(documents[i])) ? 1 : 0;
        }
        EXPECT_GT(compared, 0U);
    }
};

TEST_P(PageEquivalence, CorpusDocuments) {
    expectSamePagesForShard(corpusDocuments(), 780);
}

TEST_P(PageEquivalence, TestSuiteInputs) {
    expectSamePagesForShard(suiteDocuments(), 400);
}

INSTANTIATE_TEST_SUITE_P(Shard, PageEquivalence, ::testing::Range(0, shards));

// Documents made for what real ones rarely hold.
using EdgeDocuments = EquivalenceFixture;

std::string repeated(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

std::string deeplyNested(int depth) {
    std::string out;
    for (int i = 0; i < depth; ++i) {
        out +=
            std::string(static_cast<std::size_t>(2 * i), ' ') + "level" + std::to_string(i) + ":\n";
    }
    return out + std::string(static_cast<std::size_t>(2 * depth), ' ') + "leaf: value\n";
}

TEST_F(EdgeDocuments, AnswerAsTheMarkupPage) {
    std::string controls = "c1: \"";
    for (int c = 0x80; c <= 0x9F; ++c) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
        controls += escaped;
    }
    controls += "\"\nprivate: \"\\uE000\\uE001\\uE002\"\nlist: [1, 2]\n";
    const std::vector<std::pair<std::string, std::string>> documents = {
        {"nul", "a: \"x\\0y\"\nb: \"\\0\"\n\"k\\0\": [1, \"\\0e\\0\"]\n"},
        {"carriage returns", "a: \"x\\ry\\r\\nz\\r\"\nb: [\"\\r\", \"\\r\\n\"]\n"},
        {"controls", controls},
        {"invalid UTF-8", "a: b\xFF\nc: \xE2\x82x\nd: \xF0\x9F\x98\ne: \xED\xA0\x80\nf: \xC0\xAF\n"
                          "g: \xF4\x90\x80\x80\nh: \xE2" +
                              std::string(1, '\0') + "\x82\xAC\ni: \xE2<\x82\n"},
        {"listing with CR LF and lone CR", "a: [\r\nb: 1\r\n\r\nc: \"x\rd\r\n"},
        {"listing with a byte order mark", "\xEF\xBB\xBF"
                                           "a: [\n\nb: ]\n"},
        {"irregular case",
         "\xC4\xB0stanbul: \xCE\xA3\xCE\x91\xCE\xA3\n\xC4\xB1i: \xC4\xB0\xC4\xB0\n"
         "\xCF\x83\xCF\x82: \xCE\xA3\nk: \"\xCE\x91\xCE\xA3 \xCE\xA3\xCE\x91 i\xCC\x87\"\n"
         "\xCE\xA3: [\xCE\xA3\xCE\xA3, \xC4\xB0, \xC4\xB0i]\n"},
        {"deep nesting", deeplyNested(70)},
        {"long value", "long: \"" + repeated("abcde fghij ", 1500) + "\"\nshort: e\n"},
        {"long key", repeated("ke", 3000) + ": [e, e]\n"},
        {"empty keys and values", "\"\": \"\"\nx: \"\"\n\"\": [\"\", {\"\": {}}]\n"},
        {"hostile markup",
         "\"<script>e()</script>\": \"&amp; &lt; <b>e</b> \\\" '\"\n\"<!--\": \"</script>\"\n"},
        {"line separators and tabs", "a: \"x\\u2028y\\u2029z\"\nb: \"\\tt\\te\"\n"},
        {"typed scalars",
         "a: {}\nb: []\nc: ~\nd: 0x1F\ne: 1e3\nf: .inf\ng: -.inf\nh: .nan\n"
         "i: 2001-12-14t21:59:43.10-05:00\nj: !!binary aGVsbG8=\nk: !!set {x, y}\n"
         "l: !!omap [{m: 1}, {n: 2}]\nm: !!pairs [{a: 1}, {a: 2}]\nn: true\no: False\n"},
        {"aliases and merge keys", "a: &x {k: 1, l: [e]}\nb: *x\nc:\n  <<: *x\n  m: 2\n"},
        {"complex keys", "? [1, 2]\n: v\n? {a: b}\n: [e]\n"},
        {"several documents", "a: 1\n---\nb: 2\n"},
        {"streams with empty, scalar and tagged documents",
         "--- !Doc\na: 1\n---\n--- text\n--- &r [x, *r2]\n...\n---\n- &r2 e\n- *r2\n"},
        {"tags, anchors and aliases",
         "a: !Ref Bucket\nb: &m !include {x: 1, y: !GetAtt B.Arn}\nc: *m\n!k &kk key: "
         "!!python/tuple "
         "[1]\nd: {<<: [*m, {z: 0}], y: 2}\ne: &s s\nf: *s\ng: !<tag:x.org,1:t> []\n"},
        {"a listing with a marked column", "a: 1\nb: [1, 2\nc: \u00e9\U0001F600: x\n"},
        {"a listing with duplicate keys", "a: 1\nb: 2\na: 3\nc: {d: 1, d: 2}\n"},
        {"root sequence", "- e\n- [a, [b, [c]]]\n- {}\n- \"\"\n"},
        {"items and glyphs",
         "items: 3 items\n\"\xE2\x96\xBC\": \xE2\x96\xBC items\nl: [1, 2, 3]\n"},
    };
    for (const auto& [name, text] : documents) {
        EXPECT_TRUE(expectSamePages(name, text)) << name << " has no virtualised page";
    }
}

} // namespace
} // namespace quessel::page::test
