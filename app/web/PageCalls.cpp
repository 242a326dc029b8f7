// The script texts the host evaluates in the page: search, navigation, the cursor, folding and
// the font size.
#include "app/web/PageCalls.hpp"

#include <variant>

namespace quessel::app::web {
namespace {

// U+2028 and U+2029 in UTF-8: E2 80 A8 and E2 80 A9.
constexpr std::string_view lineSeparator = "\xE2\x80\xA8";
constexpr std::string_view paragraphSeparator = "\xE2\x80\xA9";

} // namespace

std::string singleQuotedLiteralBody(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            continue;
        case '\'':
            out += "\\'";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        default:
            break;
        }
        const std::string_view rest = text.substr(i);
        if (rest.starts_with(lineSeparator)) {
            out += "\\u2028";
            i += lineSeparator.size() - 1;
        } else if (rest.starts_with(paragraphSeparator)) {
            out += "\\u2029";
            i += paragraphSeparator.size() - 1;
        } else {
            out += c;
        }
    }
    return out;
}

std::string highlightMatchesCall(std::string_view searchText) {
    return "highlightMatches('" + singleQuotedLiteralBody(searchText) + "')";
}

std::string highlightMatchesCall(std::string_view searchText, int current) {
    return "highlightMatches('" + singleQuotedLiteralBody(searchText) + "', " +
           std::to_string(current < 1 ? 1 : current) + ")";
}

std::string restoreViewStateCall(std::string_view state) {
    return "restoreViewState(JSON.parse('" + singleQuotedLiteralBody(state) + "'))";
}

std::string navigateMatchCall(bool forward) {
    return forward ? "navigateMatch(true)" : "navigateMatch(false)";
}

std::string placeCursorCall(const yaml::NodePath& path) {
    std::string call = "placeCursor({document: ";
    call += path.document ? std::to_string(*path.document) : "null";
    call += ", steps: [";
    const char* separator = "";
    for (const yaml::PathStep& step : path.steps) {
        call += separator;
        separator = ", ";
        if (const auto* key = std::get_if<std::string>(&step.step)) {
            call += "{key: '" + singleQuotedLiteralBody(*key) + "'}";
        } else {
            call += "{index: " + std::to_string(std::get<std::size_t>(step.step)) + "}";
        }
    }
    call += "]})";
    return call;
}

std::string expandToLevelCall(int level) {
    return "expandToLevel(" + std::to_string(level < 1 ? 1 : level) + ")";
}

std::string fontSizeAssignment(int fontSize) {
    return "document.body.style.fontSize = '" + std::to_string(fontSize) + "px'";
}

} // namespace quessel::app::web
