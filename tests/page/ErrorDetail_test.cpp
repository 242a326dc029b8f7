// The reason under the banner and the places the listing marks, for each kind of failure.
#include "page/ErrorDetail.hpp"
#include "page/PageGenerator.hpp"
#include "yaml/Load.hpp"

#include <gtest/gtest.h>

namespace quessel::page {
namespace {

yaml::YamlError failureOf(std::string_view text) {
    try {
        yaml::loadAll(text);
    } catch (const yaml::YamlError& error) {
        return error;
    }
    ADD_FAILURE() << "loaded: " << text;
    return yaml::YamlError::no();
}

ErrorBanner bannerOf(std::string_view text) {
    return bannerForYamlError(failureOf(text), text);
}

TEST(ErrorDetail, SaysTheReasonWithoutThePositionAndKindPrefix) {
    const ErrorBanner flow = bannerOf("a: [1, 2\nb: 3\n");
    EXPECT_EQ(flow.message, "Syntax error on line 2");
    EXPECT_EQ(flow.detail, "did not find expected ',' or ']' at line 2, column 2 (while parsing a "
                           "flow sequence at line 1, column 4)");
    EXPECT_EQ(bannerOf("a: *x\n").detail, "found undefined alias at line 1, column 4");
    EXPECT_EQ(bannerOf("a: b: c\n").detail,
              "mapping values are not allowed in this context at line 1, column 5");
    EXPECT_EQ(bannerOf("a: \"x\x07\"\n").detail,
              "control characters are not allowed at line 1, column 6");
    EXPECT_EQ(bannerOf("\t- x\n").message, "Syntax error on line 1");
}

TEST(ErrorDetail, NamesEachDuplicatedKeyWithItsLines) {
    const ErrorBanner banner = bannerOf("a: 1\nb: 2\na: 3\nb: 4\nb: 5\n");
    EXPECT_EQ(banner.message, "Syntax error in YAML");
    EXPECT_FALSE(banner.errorLine);
    EXPECT_EQ(banner.detail,
              "found duplicate keys \"a\" on lines 1 and 3; \"b\" on lines 2, 4 and 5");
    EXPECT_EQ(banner.marks, (std::vector<ErrorMark>{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}));
    const ErrorBanner sameLine = bannerOf("{k: 1, k: 2}\n");
    EXPECT_EQ(sameLine.detail, "found duplicate key \"k\" on line 1");
    EXPECT_EQ(sameLine.marks, (std::vector<ErrorMark>{{1, 1}, {1, 7}}));
}

TEST(ErrorDetail, MarksTheColumnInUtf16UnitsOfTheListedLine) {
    // "é" is one unit, the emoji two: the colon after them, the sixth scalar, stands 6 units in.
    EXPECT_EQ(bannerOf("a: 1\nc: \xC3\xA9\xF0\x9F\x98\x80: x\n").marks,
              (std::vector<ErrorMark>{{2, 6}}));
    // A reader error's column already counts units.
    EXPECT_EQ(bannerOf("a: \"\xF0\x9F\x98\x80\x07\"\n").marks, (std::vector<ErrorMark>{{1, 6}}));
    // A place after the line's last character has no unit: the listing marks the line's end.
    EXPECT_EQ(bannerOf("a: [1\n").marks, (std::vector<ErrorMark>{{2, std::nullopt}}));
}

TEST(ErrorDetail, TheListingCarriesTheMarksAndTheDetailStandsUnderTheBanner) {
    const std::string page = PageGenerator({}).generateHTML("a: 1\nb: 2\na: 3\n", 14);
    EXPECT_NE(page.find("<div class=\"error-banner\">Syntax error in YAML</div><div "
                        "class=\"error-detail\">found duplicate key &quot;a&quot; on lines 1 and "
                        "3</div>"),
              std::string::npos);
    EXPECT_NE(page.find("<div class=\"raw-line error-line\"><span class=\"line-number\">1</span>"
                        "<span class=\"line-content\" data-error-columns=\"0\">a: 1</span>"),
              std::string::npos);
    EXPECT_NE(page.find("<div class=\"raw-line\"><span class=\"line-number\">2</span>"),
              std::string::npos);
    EXPECT_NE(page.find("<div class=\"raw-line error-line\"><span class=\"line-number\">3</span>"),
              std::string::npos);
    const std::string atEnd = PageGenerator({}).generateHTML("a: [1\n", 14);
    EXPECT_NE(atEnd.find("<span class=\"line-content error-end\">&nbsp;</span>"),
              std::string::npos);
    const GeneratedPage data =
        PageGenerator({}, PageKind::virtualised).generate("a: 1\na: 2\n", 14);
    EXPECT_NE(data.data->find(R"("errorMarks":[1,0,2,0])"), std::string::npos);
}

} // namespace
} // namespace quessel::page
