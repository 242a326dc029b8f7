// Whether a text holds nothing but spaces, tabs and line breaks: a stream without a document.
#include "yaml/WhiteSpaceOnly.hpp"

namespace quessel::yaml {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// The length of the white space or line break at the start of `rest`, 0 when there is none.
std::size_t blankLength(std::string_view rest) noexcept {
    switch (rest[0]) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':
        return 1;
    default:
        break;
    }
    if (rest.starts_with("\xC2\x85")) {
        return 2;
    }
    if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9")) {
        return 3;
    }
    return 0;
}

} // namespace

bool isWhiteSpaceOnly(std::string_view text) noexcept {
    if (text.starts_with(byteOrderMark)) {
        text.remove_prefix(byteOrderMark.size());
    }
    while (!text.empty()) {
        const std::size_t length = blankLength(text);
        if (length == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

} // namespace quessel::yaml
