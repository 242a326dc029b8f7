// Unicode: keys compare under canonical equivalence, carets count UTF-16 units, reader offsets
// count grapheme clusters, and UTF-16 input loads and reports like UTF-8 input.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/SourceText.hpp"
#include "yaml/Utf8.hpp"

#include <gtest/gtest.h>

namespace quessel::yaml {
namespace {

using testing::describe;
using testing::failure;
using testing::loaded;

const std::string composedE = "\xC3\xA9";    // U+00E9
const std::string decomposedE = "e\xCC\x81"; // U+0065 U+0301
const std::string grinning = "\xF0\x9F\x98\x80";
// A family: four people joined by zero-width joiners, one grapheme cluster of seven scalars.
const std::string family = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91"
                           "\xA7\xE2\x80\x8D\xF0\x9F\x91\xA6";

constexpr auto utf16 = Parser::Encoding::utf16;

TEST(Unicode, CanonicallyEquivalentKeysAreDuplicates) {
    const auto error = failure("caf" + composedE + ": 1\ncaf" + decomposedE + ": 2\n");
    ASSERT_TRUE(error);
    ASSERT_EQ(error->duplicates().size(), 1U);
    EXPECT_EQ(error->duplicates()[0].occurrences, (std::vector<Mark>{{1, 1}, {2, 1}}));
}

TEST(Unicode, MergedKeysMeetUnderCanonicalEquivalence) {
    const Mapping mapping =
        loaded("base: &b {caf" + composedE + ": old}\nm: {<<: *b, caf" + decomposedE + ": new}\n")
            .as<Mapping>()
            .find("m")
            ->as<Mapping>();
    ASSERT_EQ(mapping.size(), 1U);
    EXPECT_EQ(*mapping.find("caf" + composedE), YamlValue("new"));
}

TEST(Unicode, ReaderOffsetsCountGraphemeClusters) {
    // Seven scalars, one character: the control character after it is the second character.
    const auto error = failure(family + "\x07");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->offset(), 1);
    EXPECT_EQ(error->description(), "1:12: error: reader: control characters are not allowed:\n" +
                                        family + "\x07\n" + std::string(11, ' ') + "^");
    EXPECT_EQ(failure(decomposedE + decomposedE + "\x07")->offset(), 2);
}

TEST(Unicode, Utf16InputLoadsTheSameValues) {
    const std::string text =
        "k" + composedE + ": [" + grinning + ", 0x10, caf" + decomposedE + "]\n\xE2\x80\xA8n: ~\n";
    EXPECT_EQ(load(text, Resolver::standard(), Constructor::standard(), utf16), load(text));
}

TEST(Unicode, Utf16ErrorsDescribeTheSameAsUtf8Ones) {
    for (const std::string& text : {grinning + "\x07", "a: [" + family + ", *x]",
                                    family + "\nb: [c", "x: 1\n" + composedE + "\x01"}) {
        EXPECT_EQ(describe(text, utf16), describe(text)) << text;
    }
}

TEST(Unicode, Utf16ReaderOffsetIsHalvedIntoCodeUnits) {
    const auto error = failure("ab" + grinning + "\x07", utf16);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->offset(), 3);
    EXPECT_EQ(error->description(), "1:5: error: reader: control characters are not allowed:\n"
                                    "ab" +
                                        grinning + "\x07\n    ^");
}

TEST(Unicode, InvalidUtf8BecomesReplacementCharactersForUtf16Input) {
    EXPECT_EQ(load("a: x\xFFy", Resolver::standard(), Constructor::standard(), utf16),
              load("a: x\xEF\xBF\xBDy"));
    EXPECT_EQ(failure("a: x\xFFy")->kind(), YamlError::Kind::reader);
}

TEST(SourceText, LinesEndAtEveryBreakAndKeepTheirTerminator) {
    const std::string text = "one\r\ntwo\rthree\xE2\x80\xA9last";
    EXPECT_EQ(substring(text, 0), "one\r\n");
    EXPECT_EQ(substring(text, 1), "two\r");
    EXPECT_EQ(substring(text, 2), "three\xE2\x80\xA9");
    EXPECT_EQ(substring(text, 3), "last");
    EXPECT_EQ(substring(text, 99), "last");
    EXPECT_EQ(substring("", 0), "");
}

TEST(SourceText, LineIndexFindsTheSameLinesAsSubstring) {
    for (const std::string text : {"one\r\ntwo\rthree\xE2\x80\xA9last", "a\n", "", "\n\n"}) {
        const LineIndex lines(text);
        for (std::size_t at = 0; at < 6; ++at) {
            EXPECT_EQ(lines.line(at), substring(text, at)) << at;
        }
    }
    EXPECT_EQ((Mark{2, 2}).snippet(LineIndex("ab\ncd")), (Mark{2, 2}).snippet("ab\ncd"));
}

TEST(SourceText, EndingWithNewLineAddsABreakOnlyWhenMissing) {
    EXPECT_EQ(endingWithNewLine("a"), "a\n");
    EXPECT_EQ(endingWithNewLine("a\n"), "a\n");
    EXPECT_EQ(endingWithNewLine("a\v"), "a\v");
    EXPECT_EQ(endingWithNewLine("a\xE2\x80\xA8"), "a\xE2\x80\xA8");
    EXPECT_EQ(endingWithNewLine(""), "\n");
}

TEST(SourceText, PositionsByCharacterGiveLineAndUtf16Column) {
    const std::string text = "ab\r\n" + grinning + decomposedE + "x\n";
    const auto place = lineNumberColumnAndContents(text, 5);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->lineNumber, 1U);
    EXPECT_EQ(place->column, 4U);
    EXPECT_EQ(place->contents, grinning + decomposedE + "x\n");
    // The end of the text is on the last line, after its break.
    const auto end = lineNumberColumnAndContents(text, 7);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lineNumber, 1U);
    EXPECT_EQ(end->column, 6U);
    EXPECT_FALSE(lineNumberColumnAndContents(text, 8));
}

TEST(SourceText, CharacterCountsFollowGraphemeClusters) {
    const std::string text = "a\r\n" + decomposedE + family;
    EXPECT_EQ(charactersBefore(text, text.size()), 4U);
    EXPECT_EQ(charactersBefore(text, 2), std::nullopt) << "inside CR LF";
    EXPECT_EQ(charactersBefore(text, 4), std::nullopt) << "inside e and its accent";
    EXPECT_EQ(charactersBefore(text, text.size() + 1), std::nullopt);
    EXPECT_EQ(advanceCharacters(text, 3), 3U + decomposedE.size());
    EXPECT_FALSE(advanceCharacters(text, 5));
    const std::u16string units = utf8::toUtf16(text);
    EXPECT_EQ(charactersBefore(units, units.size()), 4U);
    EXPECT_EQ(charactersBefore(units, units.size() - 1), std::nullopt) << "inside a pair";
}

TEST(SourceText, Utf16ConversionIsLittleEndianWithoutAByteOrderMark) {
    EXPECT_EQ(utf8::toUtf16LittleEndian("A" + composedE + grinning),
              std::string("A\0\xE9\0\x3D\xD8\x00\xDE", 8));
    EXPECT_EQ(utf8::utf16Length("A" + composedE + grinning), 4U);
    EXPECT_EQ(utf8::byteOffsetOfUtf16("A" + grinning + "b", 3), 5U);
    EXPECT_EQ(utf8::byteOffsetOfUtf16("A" + grinning + "b", 2), std::nullopt);
    EXPECT_EQ(utf8::makeValid("a\xC3(\xED\xA0\x80z"),
              "a\xEF\xBF\xBD(\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz");
}

} // namespace
} // namespace quessel::yaml
