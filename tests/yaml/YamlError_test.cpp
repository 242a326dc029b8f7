// Error reports: the exact descriptions of every kind, the snippet with its caret, and how
// libyaml's failures map onto kinds and positions.
#include "tests/yaml/LoadSupport.hpp"
#include "yaml/YamlError.hpp"

#include <gtest/gtest.h>

#include <cctype>

namespace quessel::yaml {
namespace {

using testing::describe;
using testing::failure;

TEST(YamlError, UndefinedAliasQuotesTheLineWithACaret) {
    EXPECT_EQ(describe("a: *x"), "1:4: error: composer: found undefined alias:\na: *x\n   ^");
}

TEST(YamlError, SecondDocumentNamesTheContextAtTheStart) {
    EXPECT_EQ(describe("a: 1\n---\nb: 2"),
              "2:1: error: composer: expected a single document in the stream in line 1, "
              "column 1\nbut found another document:\n---\n^");
}

TEST(YamlError, DuplicateKeysListEveryOccurrenceWithItsLine) {
    EXPECT_EQ(describe("a: 1\na: 2"),
              "error: parser: expected all keys to be unique but found the following "
              "duplicated key(s):\na ([1:1, 2:1]):\na: 1\n^\na: 2\n^");
}

TEST(YamlError, DuplicateKeysThatAreNotTextsShowTheirValues) {
    const std::string header = "error: parser: expected all keys to be unique but found the "
                               "following duplicated key(s):\n";
    EXPECT_EQ(describe("0x10: a\n0x10: b"), header + "16 ([1:1, 2:1]):\n0x10: a\n^\n0x10: b\n^");
    EXPECT_EQ(describe("? [1.50, yes]\n: a\n? [1.50, yes]\n: b"),
              header + "[1.5, true] ([1:3, 3:3]):\n? [1.50, yes]\n  ^\n? [1.50, yes]\n  ^");
    EXPECT_EQ(describe("~: a\n~: b"), header + "null ([1:1, 2:1]):\n~: a\n^\n~: b\n^");
}

TEST(YamlError, ReaderErrorCountsCharactersAndQuotesTheLine) {
    const auto error = failure("abc\x07 def\nnext\n");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), YamlError::Kind::reader);
    EXPECT_EQ(error->value(), 7);
    EXPECT_EQ(error->offset(), 3);
    EXPECT_EQ(error->description(),
              "1:4: error: reader: control characters are not allowed:\nabc\x07 def\n   ^");
}

TEST(YamlError, ReaderErrorOnALaterLineCountsThatLine) {
    EXPECT_EQ(describe("ok: 1\r\nbad: \x01\n"),
              "2:6: error: reader: control characters are not allowed:\nbad: \x01\n     ^");
    EXPECT_EQ(describe("ok: 1\nx\xFF"),
              "2:2: error: reader: invalid leading UTF-8 octet:\nx\xFF\n ^");
}

TEST(YamlError, ReaderErrorWithoutAPositionSaysNil) {
    const YamlError error = YamlError::reader("broken input", std::nullopt, 12, "text");
    EXPECT_EQ(error.description(), "broken input at offset: nil, value: 12");
    EXPECT_EQ(YamlError::reader("beyond", 99, 0, "short").description(),
              "beyond at offset: nil, value: 0");
}

TEST(YamlError, ScannerAndParserErrorsKeepLibyamlsTexts) {
    const auto scanner = failure("a: \"b");
    ASSERT_TRUE(scanner);
    EXPECT_EQ(scanner->kind(), YamlError::Kind::scanner);
    EXPECT_EQ(scanner->description(), "1:6: error: scanner: while scanning a quoted scalar in "
                                      "line 1, column 4\nfound unexpected end of stream:\n"
                                      "a: \"b\n     ^");
    const auto parser = failure("- a\nb: c");
    ASSERT_TRUE(parser);
    EXPECT_EQ(parser->kind(), YamlError::Kind::parser);
    EXPECT_EQ(parser->description(), "2:1: error: parser: while parsing a block collection in "
                                     "line 1, column 1\ndid not find expected '-' indicator:\n"
                                     "b: c\n^");
    EXPECT_EQ(describe("a: b: c"),
              "1:5: error: scanner: mapping values are not allowed in this context:\n"
              "a: b: c\n    ^");
}

TEST(YamlError, MarkBeyondTheTextShowsTheLastLine) {
    // libyaml reports the unclosed flow sequence on the line after the last one.
    EXPECT_EQ(describe("a: [b"), "2:1: error: parser: while parsing a flow sequence in line 1, "
                                 "column 4\ndid not find expected ',' or ']':\na: [b\n^");
    EXPECT_EQ(Mark({9, 1}).snippet("one\ntwo\n"), "two\n^");
}

TEST(YamlError, CaretCountsUtf16UnitsAndStartsANewLine) {
    // One scalar outside the Basic Multilingual Plane takes two UTF-16 units.
    EXPECT_EQ(Mark({1, 2}).snippet("\xF0\x9F\x98\x80x"), "\xF0\x9F\x98\x80x\n  ^");
    EXPECT_EQ(describe("\xF0\x9F\x98\x80\x07"),
              "1:3: error: reader: control characters are not allowed:\n"
              "\xF0\x9F\x98\x80\x07\n  ^");
}

TEST(YamlError, ColumnBeyondTheLineOrInsideACharacterPutsTheCaretAfterTheLine) {
    EXPECT_EQ(Mark({1, 40}).snippet("ab\ncd"), "ab\n   ^");
    EXPECT_EQ(Mark({2, 40}).snippet("ab\r\ncd"), "cd\n  ^");
    // Column 2 falls between an e and its combining accent.
    EXPECT_EQ(Mark({1, 2}).snippet("e\xCC\x81x"), "e\xCC\x81x\n   ^");
}

TEST(YamlError, EveryLineBreakStartsALine) {
    const std::string text = "a\rb\r\nc\xC2\x85"
                             "d\xE2\x80\xA8"
                             "e\xE2\x80\xA9"
                             "f";
    EXPECT_EQ(Mark({2, 1}).snippet(text), "b\r\n^");
    EXPECT_EQ(Mark({3, 1}).snippet(text), "c\xC2\x85^");
    EXPECT_EQ(Mark({4, 1}).snippet(text), "d\xE2\x80\xA8^");
    EXPECT_EQ(Mark({6, 1}).snippet(text), "f\n^");
}

TEST(YamlError, PositionedDescriptionsStartWithTheLineNumber) {
    for (const char* text :
         {"a: *x", "a: 1\n---\nb: 2", "x\x07", "a: [b", "a: \"b", "\n\n- a\nb"}) {
        const std::string description = describe(text);
        const std::size_t colon = description.find(':');
        ASSERT_NE(colon, std::string::npos) << description;
        ASSERT_GT(colon, 0U);
        for (std::size_t i = 0; i < colon; ++i) {
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(description[i]))) << description;
        }
        EXPECT_NE(description.find(": error: "), std::string::npos) << description;
    }
}

TEST(YamlError, MessageKindsDescribeThemselves) {
    EXPECT_EQ(YamlError::writer("w").description(), "w");
    EXPECT_EQ(YamlError::emitter("e").description(), "e");
    EXPECT_EQ(YamlError::representer("r").description(), "r");
    EXPECT_EQ(YamlError::dataCouldNotBeDecoded("utf16").description(),
              "String could not be decoded from data using 'utf16' encoding");
    EXPECT_EQ(YamlError::no().description(), "No error is produced");
    EXPECT_EQ(YamlError::memory().description(), "Memory error");
    EXPECT_STREQ(YamlError::memory().what(), "Memory error");
}

TEST(YamlError, ContextAndMarkDescribeThemselves) {
    EXPECT_EQ((YamlError::Context{"while parsing", Mark{3, 7}}).description(),
              "while parsing in line 3, column 7\n");
    EXPECT_EQ((Mark{3, 7}).description(), "3:7");
}

TEST(YamlError, CopiesShareTheReport) {
    const YamlError error = YamlError::composer(std::nullopt, "problem", Mark{1, 1}, "x");
    const YamlError copy = error; // NOLINT: the copy is the point
    EXPECT_EQ(copy.description(), error.description());
    EXPECT_EQ(copy.what(), error.what());
}

} // namespace
} // namespace quessel::yaml
