// A collection's text as written in the source, for copying it on its own.
#include "yaml/CollectionText.hpp"

#include <algorithm>

namespace quessel::yaml {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The length of the line break at `at` (LF, CR, CR LF, U+0085, U+2028, U+2029), or 0.
std::size_t breakLength(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("\r\n")) {
        return 2;
    }
    if (rest.starts_with('\n') || rest.starts_with('\r')) {
        return 1;
    }
    if (rest.starts_with("\xC2\x85")) {
        return 2;
    }
    if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9")) {
        return 3;
    }
    return 0;
}

std::size_t withoutTrailingSpace(std::string_view text, std::size_t begin, std::size_t end) {
    while (end > begin &&
           (isBlank(text[end - 1]) || text[end - 1] == '\n' || text[end - 1] == '\r')) {
        --end;
    }
    return end;
}

// Through a comment that follows on the same line, if one does.
std::size_t throughComment(std::string_view text, std::size_t end) {
    std::size_t at = end;
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    if (at == end || at >= text.size() || text[at] != '#') {
        return end;
    }
    while (at < text.size() && breakLength(text, at) == 0) {
        ++at;
    }
    return withoutTrailingSpace(text, end, at);
}

std::string dedented(std::string_view text, std::size_t column) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        // Every line break starts with one of these bytes.
        const std::size_t next = text.find_first_of("\n\r\xC2\xE2", at);
        out.append(text.substr(at, next - at));
        if (next == std::string_view::npos) {
            break;
        }
        at = next;
        const std::size_t length = breakLength(text, at);
        if (length == 0) {
            out.push_back(text[at++]);
            continue;
        }
        out.append(text.substr(at, length));
        at += length;
        const std::size_t limit = std::min(text.size(), at + column);
        while (at < limit && text[at] == ' ') {
            ++at;
        }
    }
    return out;
}

} // namespace

std::string collectionText(std::string_view source, std::size_t begin, std::size_t end,
                           std::size_t column, bool bracketed) {
    end = std::min(end, source.size());
    begin = std::min(begin, end);
    if (!bracketed) {
        end = throughComment(source, withoutTrailingSpace(source, begin, end));
    }
    return dedented(source.substr(begin, end - begin), column);
}

} // namespace quessel::yaml
