// Search on the virtualised page in the real web engine, held against the all-markup page of the
// same document: totals, order and texts of the matches, matchUpdate messages, and the current
// match in view after searching and navigating, inside collapsed subtrees too.
#include "page/MarkupPage.hpp"
#include "page/VirtualPage.hpp"
#include "tests/page/support/PageFixture.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace quessel::page::test {
namespace {

using yaml::YamlValue;

// walk(n): the current mark's text after the search, after each of n steps forward and each of
// n steps back (so both ends wrap around), and the steps whose current row mark was out of
// sight. A mark is in sight when it lies inside every box that clips it and the viewport (within
// a pixel: scroll positions are whole pixels, marks are not), and is what the engine finds at
// its centre.
constexpr std::string_view helpers = R"(
// A mark in a hidden preview (of an expanded node) is out of sight on both pages alike.
window.whereHidden = (mark) => {
    if (mark.closest('.collapsed-preview:not(.visible)')) {
        return null;
    }
    const box = mark.getBoundingClientRect();
    const inside = (outer) => box.left >= outer.left - 1 && box.right <= outer.right + 1 &&
        box.top >= outer.top - 1 && box.bottom <= outer.bottom + 1;
    const describe = (outer) => JSON.stringify([box.left, box.top, box.right, box.bottom]) +
        ' outside ' + JSON.stringify([outer.left, outer.top, outer.right, outer.bottom]);
    for (let e = mark.parentElement; e && e !== document.body; e = e.parentElement) {
        const style = getComputedStyle(e);
        const outer = e.getBoundingClientRect();
        const clipsX = style.overflowX !== 'visible';
        const clipsY = style.overflowY !== 'visible';
        if (!inside({left: clipsX ? outer.left : -Infinity, right: clipsX ? outer.right : Infinity,
                     top: clipsY ? outer.top : -Infinity, bottom: clipsY ? outer.bottom : Infinity})) {
            return describe(outer) + ' of ' + e.className;
        }
    }
    if (mark.getClientRects().length === 0) {
        return 'not shown';
    }
    // The viewport without its scroll bars.
    const viewport = {left: 0, top: 0, right: document.documentElement.clientWidth,
                      bottom: document.documentElement.clientHeight};
    if (!inside(viewport)) {
        return describe(viewport);
    }
    // Drawn where it lies, not covered or cut off there.
    const hit = document.elementFromPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    return hit === mark || mark.contains(hit) ? null : 'not on top: ' + (hit && hit.outerHTML.slice(0, 80));
};
window.currentText = (step, hidden) => {
    // Where lower-casing lengthened a text, a match can lie past its end: the markup page marks
    // it with an empty mark, the virtualised page marks nothing. Both show nothing.
    const marks = document.querySelectorAll('mark.highlight.current');
    if (marks.length === 0 || (marks.length === 1 && marks[0].textContent === '')) {
        return null;
    }
    if (marks.length !== 1) {
        hidden.push(step + ': ' + marks.length + ' current marks');
        return '';
    }
    const mark = marks[0];
    const where = mark.closest('#virtual-content') ? whereHidden(mark) : null;
    if (where !== null) {
        hidden.push(step + ': ' + JSON.stringify(mark.textContent) + ' ' + where);
    }
    return mark.textContent;
};
window.walk = (steps) => {
    const texts = [];
    const hidden = [];
    texts.push(currentText(0, hidden));
    for (let i = 1; i <= steps; i++) {
        navigateMatch(true);
        texts.push(currentText(i, hidden));
    }
    for (let i = 1; i <= steps; i++) {
        navigateMatch(false);
        texts.push(currentText(-i, hidden));
    }
    return [texts, hidden];
};
'ready';
)";

// What one page answered to a list of searches.
struct PageAnswers {
    std::vector<int> totals;
    std::vector<std::string> walks;    // the current marks' texts, per search
    std::vector<std::string> messages; // every matchUpdate, in order
    std::string hidden;                // out-of-sight current marks on the virtualised page
};

// A document and both of its pages.
struct Pages {
    std::string markup;
    std::string virtualised;
};

class VirtualSearch : public PageFixture {
protected:
    static Pages pagesOfValue(const YamlValue& value) {
        const PageContent content{"", &value, std::nullopt};
        return {writeMarkupPage(content, Appearance::light, 14),
                writeVirtualPage(content, Appearance::light, 14).inlined()};
    }

    static Pages pagesOfYaml(std::string_view yaml) {
        const std::optional<YamlValue> value = yaml::load(yaml);
        if (!value) {
            ADD_FAILURE() << "no document";
            return {};
        }
        return pagesOfValue(*value);
    }

    static Pages pagesOfListing(std::string_view text, std::string_view description) {
        const PageContent content{text, nullptr, bannerForYamlError(description)};
        return {writeMarkupPage(content, Appearance::light, 14),
                writeVirtualPage(content, Appearance::light, 14).inlined()};
    }

    void loadVirtual(const std::string& page) {
        ASSERT_NE(page.find("id=\"virtual-content\""), std::string::npos);
        loadPage(page);
        ASSERT_EQ(script(helpers), R"("ready")");
        ASSERT_TRUE(waitFor("document.querySelector('#virtual-content > .line, "
                            "#virtual-content > .raw-line')"));
    }

    // The first rows of the document, scrolled to, with their expanded state.
    std::string topRows(int count) {
        script("window.scrollTo(0, 0)");
        EXPECT_TRUE(waitFor(
            "(() => { const t = document.getElementById('toggle-0'); "
            "return t && Math.abs(t.parentNode.getBoundingClientRect().top - 12) < 2; })()"));
        return script(
            "[...document.querySelectorAll('#virtual-content > .line')]"
            ".filter(e => getComputedStyle(e).display !== 'none')"
            ".sort((a, b) => a.getBoundingClientRect().top - b.getBoundingClientRect().top)"
            ".slice(0, " +
            std::to_string(count) +
            ").map(e => e.textContent + ' ' + e.getAttribute('aria-expanded'))");
    }

    bool waitFor(std::string_view condition) {
        const std::string check = "!!(" + std::string(condition) + ")";
        return iterateUntil([&] { return harness().evaluate(check) == "true"; });
    }

    // Runs every search on the loaded page, walking at most `steps` matches each way.
    PageAnswers answer(const std::vector<std::string>& texts, int steps) {
        PageAnswers answers;
        const std::size_t first = harness().matchUpdates().size();
        for (const std::string& text : texts) {
            const MatchUpdate update = search(text);
            answers.totals.push_back(update.total);
            if (update.total == 0) {
                answers.walks.push_back(text + " -> none");
                continue;
            }
            const int walked = std::min(update.total, steps);
            const std::size_t before = harness().matchUpdates().size();
            const std::string walk = script("(() => { const w = walk(" + std::to_string(walked) +
                                            "); window.lastHidden = w[1]; return w[0]; })()");
            EXPECT_TRUE(harness().waitForMatchUpdates(before + 2 * std::size_t(walked))) << text;
            answers.walks.push_back(text + " -> " + walk);
            const std::string hidden = script("lastHidden");
            if (hidden != "[]") {
                answers.hidden += text + " -> " + hidden + "\n";
            }
        }
        // The messages' members arrive in no fixed order; their values are what counts.
        for (std::size_t i = first; i < harness().matchUpdates().size(); ++i) {
            const MatchUpdate& update = harness().matchUpdates()[i];
            answers.messages.push_back(std::to_string(update.current) + "/" +
                                       std::to_string(update.total));
        }
        return answers;
    }

    // Both pages of the document answer every search alike; the virtualised page keeps its
    // current match in sight.
    void expectSameSearches(const Pages& pages, const std::vector<std::string>& texts,
                            int steps = 40) {
        loadPage(pages.markup);
        ASSERT_EQ(script(helpers), R"("ready")");
        const PageAnswers markup = answer(texts, steps);
        loadVirtual(pages.virtualised);
        const PageAnswers virtualised = answer(texts, steps);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(virtualised.totals[i], markup.totals[i]) << "search " << texts[i];
            EXPECT_EQ(virtualised.walks[i], markup.walks[i]);
        }
        EXPECT_EQ(virtualised.messages, markup.messages);
        EXPECT_EQ(markup.hidden, "");
        EXPECT_EQ(virtualised.hidden, "");
    }
};

const std::vector<std::string> commonTexts = {
    "e", "a", "value", "absent text", " ", "\u25BC", "items", ":", "1", "i", "\u03C3", "\u03C2"};

std::vector<std::string> withCommonTexts(std::vector<std::string> texts) {
    texts.insert(texts.end(), commonTexts.begin(), commonTexts.end());
    return texts;
}

TEST_F(VirtualSearch, OnlyTwoCodePointsLowerCaseOtherThanOneToOneInThisEngine) {
    // The search over the rows' lower-cased text relies on it: every other code point keeps its
    // length and lower-cases alike whatever stands around it.
    loadVirtual(pagesOfValue(yaml::Sequence{"x", yaml::Sequence{"y"}}).virtualised);
    EXPECT_EQ(script(R"((() => {
        const odd = [];
        for (let c = 0; c <= 0x10FFFF; c++) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            const s = String.fromCodePoint(c);
            const lower = s.toLowerCase();
            if (lower.length !== s.length || ('a' + s + 'b').toLowerCase() !== 'a' + lower + 'b' ||
                ('a' + s).toLowerCase() !== 'a' + lower) {
                odd.push(c.toString(16));
            }
        }
        return odd;
    })())"),
              R"(["130","3a3"])");
}

TEST_F(VirtualSearch, EdgeCasesAnswerAsOnTheMarkupPage) {
    expectSameSearches(pagesOfYaml("\"\": empty key\n"
                                   "empty: \"\"\n"
                                   "nulls: [~, null]\n"
                                   "flags: [true, false]\n"
                                   "numbers: [0, -1.5, 1e3, 0x1F]\n"
                                   "\"key: with colon\": \"value: with colon\"\n"
                                   "items: 3 items\n"
                                   "\"\u25BC\": glyph key \u25BC\n"
                                   "nested: {a: {b: {c: [1, [2, [3]]]}}}\n"
                                   "empties: [{}, []]\n"
                                   "multi: \"line one\\nline two\"\n"
                                   "spaces: \"  lead and trail  \"\n"),
                       withCommonTexts({"empty", "null", "true", "1.5", "{}", "[]", "-", ": ",
                                        "line", "  ", "\u25BC "}));
}

TEST_F(VirtualSearch, CodePointsThatLowerCaseIrregularlyAreCutAsOnTheMarkupPage) {
    expectSameSearches(
        pagesOfYaml("\u03A3\u0391\u03A3: \u03A3\u0391\u03A3\n"
                    "\u0130stanbul: a\u0130b\n"
                    "\u038C\u03A3\u039F\u03A3: \"\u03A3\u03A3 \u03A3 \u0391\u03A3. "
                    "\u0391\u03A3\u0391\"\n"
                    "\u0130\u0130a: \"\u0130\u0130\u0130a \u0130\"\n"
                    "\u03C3\u03B1\u03C2: \u03C2 \u03C3\n"
                    "list: [\u03A3, \u0130, \u0130\u03A3, \"\u03B1 \u03A3\"]\n"
                    "stra\u00DFe: STRASSE\n"
                    "astral: \"\U0001F600 \U00010400\U00010428\"\n"
                    "combining: \"i\u0307 I\u0307 \u0130\"\n"),
        withCommonTexts({"\u0130", "i\u0307", "\u0307", "\u03A3", "\u03B1", "\u03B1\u03C2",
                         "\u03C3\u03B1", "b", "ss", "\u00DF", "\U00010428", "\U0001F600", "\u03C2 ",
                         "stanbul", "\u0130stanbul"}));
}

// Random documents and texts over the code points where lower-casing is irregular and their
// neighbours: texts grow letter by letter as typed, so the search among the previous matches
// runs too, in rows of irregular case and around them.
class RandomDocuments {
public:
    explicit RandomDocuments(unsigned seed) : random_(seed) {}

    std::string text(int longest) {
        std::string result;
        const int length = pick(longest + 1);
        for (int i = 0; i < length; ++i) {
            result += letters[static_cast<std::size_t>(pick(int(letters.size())))];
        }
        return result;
    }

    YamlValue value(int depth) {
        const int kind = pick(depth > 0 ? 4 : 2);
        if (kind == 0) {
            return text(8);
        }
        if (kind == 1) {
            return std::int64_t{pick(100)};
        }
        const int size = 1 + pick(4);
        if (kind == 2) {
            yaml::Sequence sequence;
            for (int i = 0; i < size; ++i) {
                sequence.push_back(value(depth - 1));
            }
            return sequence;
        }
        std::vector<yaml::MappingEntry> entries;
        for (int i = 0; i < size; ++i) {
            entries.push_back({text(5) + std::to_string(i), value(depth - 1)});
        }
        return mappingOf(std::move(entries));
    }

    int pick(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

private:
    static inline const std::vector<std::string> letters = {
        "a",      "A",      "i", "I", "\u0130", "\u0307",     "\u03A3", "\u03C3", "\u03C2",
        "\u03B1", "\u0391", " ", "b", "\u25BC", "\U0001F600", "x",      "<",      "&"};
    std::mt19937 random_;
};

TEST_F(VirtualSearch, RandomDocumentsOfIrregularCaseAnswerAsOnTheMarkupPage) {
    RandomDocuments random(20261207);
    for (int document = 0; document < 8; ++document) {
        yaml::Sequence top;
        for (int i = 0; i < 12; ++i) {
            top.push_back(random.value(3));
        }
        std::vector<std::string> texts;
        std::string typed;
        for (int i = 0; i < 10; ++i) {
            typed = (random.pick(3) == 0 ? std::string() : typed) + random.text(2);
            if (!typed.empty()) {
                texts.push_back(typed);
            }
        }
        SCOPED_TRACE("document " + std::to_string(document));
        expectSameSearches(pagesOfValue(top), texts, 8);
    }
}

// Letters beyond the Basic Multilingual Plane lower-case as surrogate pairs, and some signs
// lower-case to letters of another block (KELVIN SIGN to k, ANGSTROM SIGN to å): the units that
// lower-case to a search text's units are more than its upper case.
TEST_F(VirtualSearch, LettersThatLowerCaseInPairsOrToOtherBlocksAnswerAsOnTheMarkupPage) {
    expectSameSearches(pagesOfYaml("deseret: \"\U00010400\U00010428 \U00010400x \U00010428\"\n"
                                   "kelvin: \"\u212A k K \u212Ak\"\n"
                                   "angstrom: \"\u212B \u00E5 \u00C5\"\n"
                                   "emoji: \"\U0001F600 \U0001F600x\"\n"
                                   "titlecase: \"\u01C5 \u01C6 \u01C4\"\n"
                                   "mixed: [\"\U00010400\u212A\", \"\u212A\U00010428\"]\n"),
                       {"\U00010428", "\U00010428x", "k", "kk", "\u00E5", "\U0001F600",
                        "\U0001F600x", "\u01C6", "\U00010428k", "k\U00010428", "x"});
}

TEST_F(VirtualSearch, HostileMarkupIsSearchedAsText) {
    expectSameSearches(
        pagesOfYaml("\"<script>canary()</script>\": "
                    "\"</script><script>alert(1)</script>\"\n"
                    "amp: \"&amp; &lt; <b>bold</b>\"\n"
                    "comment: \"<!-- -->\"\n"
                    "image: \"<img src=x onerror=alert(1)>\"\n"
                    "separators: \"\u2028 \u2029 \u0085\"\n"),
        withCommonTexts({"<", "script", "&", "amp;", ">", "<b>", "\u2028", "\u0085"}));
}

TEST_F(VirtualSearch, TheCurrentMatchInAVeryLongLineIsScrolledIntoSight) {
    std::string longValue;
    for (int i = 0; i < 10000; ++i) {
        longValue += "abcdefghij";
    }
    longValue.insert(50000, "needle");
    longValue += "needle";
    expectSameSearches(
        pagesOfValue(mappingOf(
            {{"before", "short"}, {"long", longValue}, {"other", "needle at the start"}})),
        {"needle", "j", "abcdefghij", "absent text"}, 30);
}

TEST_F(VirtualSearch, DeepNestingAnswersAsOnTheMarkupPage) {
    // Three hundred levels: the markup page's parser flattens past 512 elements, which changes
    // no text node.
    expectSameSearches(pagesOfYaml(std::string(300, '[') + "deep" + std::string(300, ']')),
                       {"deep", "\u25BC", "-", "items", "1 items", " ", "e"});
}

TEST_F(VirtualSearch, AListingWithItsBannerAnswersAsOnTheMarkupPage) {
    std::string text;
    for (int i = 1; i <= 1500; ++i) {
        text += "key" + std::to_string(i) + ": value " + std::to_string(i * 7) + "\n";
    }
    text += "broken: [\n\n  tail line\n";
    const Pages pages = pagesOfListing(text, "1502:1: error: parser: did not find content");
    expectSameSearches(pages, withCommonTexts({"Syntax", "line", "error", "15", "\u00A0"}));
    // Clearing leaves the banner's text as it was and no mark anywhere.
    const MatchUpdate cleared = search("");
    EXPECT_EQ(cleared.json, R"({"current":0,"total":0})");
    EXPECT_EQ(script("document.querySelectorAll('mark').length"), "0");
    EXPECT_EQ(script("document.querySelector('.error-banner').childNodes.length"), "1");
    EXPECT_EQ(script("document.querySelector('.error-banner').textContent"),
              R"("Syntax error on line 1502")");
}

// A generated document of three big subtrees: about 70 bytes of YAML per entry.
std::string generatedDocument(int entries) {
    std::string yaml;
    for (const char* section : {"alpha", "beta", "gamma"}) {
        yaml += std::string(section) + ":\n";
        for (int i = 0; i < entries; ++i) {
            yaml += "  - name: " + std::string(section) + " entry " + std::to_string(i) + "\n";
            yaml += "    value: " + std::to_string(i * 31 % 1000) + "\n";
            yaml += "    tags: [red, green, blue]\n";
            if (i % 100 == 50) {
                yaml += "    note: \u03A3\u0391\u03A3 \u0130stanbul a\u0130b \u0391\u03A3\n";
            }
        }
    }
    yaml += "zeta: the last needle\n";
    return yaml;
}

TEST_F(VirtualSearch, AGeneratedDocumentAnswersAsOnTheMarkupPage) {
    // A third of a megabyte: the markup page's search is what costs here. Typed letter by letter,
    // as the host sends it, and texts that revise the previous one; a few rows of irregular case.
    expectSameSearches(pagesOfYaml(generatedDocument(1500)),
                       {"e",
                        "en",
                        "ent",
                        "entry",
                        "entry 59",
                        "entry 599",
                        "re",
                        "red",
                        "ee",
                        "eed",
                        "needl",
                        "needle",
                        "absent text",
                        "\u25BC",
                        ": ",
                        "9",
                        "stanbu",
                        "stanbul",
                        "\u03C3\u03B1\u03C2",
                        "\u03B1\u03C2",
                        "i\u0307st",
                        "i\u0307sta",
                        "a",
                        "ai\u0307"},
                       25);
}

TEST_F(VirtualSearch, MatchesInsideCollapsedSubtreesAreRevealedAndInSight) {
    // Three megabytes.
    loadVirtual(pagesOfYaml(generatedDocument(15000)).virtualised);
    // Collapse the sections: each collapse brings the next one up.
    ASSERT_EQ(script(R"((() => {
        for (let n = 0; n < 10; n++) {
            const open = [...document.querySelectorAll('#virtual-content > .line[aria-level="1"]' +
                '[aria-expanded="true"] .toggle')];
            if (open.length === 0) return n;
            toggle(open[0].id.substring(7));
        }
        return -1;
    })())"),
              "3");
    const std::string collapsed = R"(["▼alpha:15000 items false","▼beta:15000 items false",)"
                                  R"("▼gamma:15000 items false","zeta: the last needle null"])";
    EXPECT_EQ(topRows(4), collapsed);
    const std::string sections = script("[...document.querySelectorAll('#virtual-content > "
                                        ".line .toggle')].map(t => t.id.substring(7))");
    const std::string beta = script("(" + sections + ")[1]");
    const std::string gamma = script("(" + sections + ")[2]");

    const MatchUpdate first = search("beta entry 4321");
    EXPECT_EQ(first.current, 1);
    EXPECT_EQ(first.total, 1);
    EXPECT_EQ(script("walk(0)"), R"([["beta entry 4321"],[]])");
    EXPECT_EQ(topRows(3), R"(["▼alpha:15000 items false","▼beta:15000 items true",)"
                          R"("▼-3 items true"])");

    // Collapse what the search opened, then step into the other section backwards, wrapping
    // from the first match to the last.
    script("toggle(" + beta + ")");
    EXPECT_EQ(search("gamma entry 599").total, 11);
    EXPECT_EQ(script("walk(0)"), R"([["gamma entry 599"],[]])");
    script("toggle(" + gamma + ")");
    EXPECT_EQ(topRows(4), collapsed);
    const MatchUpdate wrapped = navigate(false);
    EXPECT_EQ(wrapped.current, 11);
    EXPECT_EQ(wrapped.total, 11);
    EXPECT_EQ(script("walk(0)"), R"([["gamma entry 599"],[]])");
    EXPECT_EQ(script("document.querySelector('mark.current').parentNode.textContent"),
              R"("gamma entry 5999")");
    EXPECT_EQ(navigate(true).current, 1);
    EXPECT_EQ(script("walk(0)"), R"([["gamma entry 599"],[]])");
    EXPECT_EQ(script("document.querySelector('mark.current').parentNode.textContent"),
              R"("gamma entry 599")");
    EXPECT_EQ(topRows(4), R"(["▼alpha:15000 items false","▼beta:15000 items false",)"
                          R"("▼gamma:15000 items true","▼-3 items true"])");
}

} // namespace
} // namespace quessel::page::test
