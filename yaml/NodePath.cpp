// Where a node stands in the value tree, written out as the path that yq and jq read.
#include "yaml/NodePath.hpp"

#include "yaml/Utf8.hpp"

#include <algorithm>

namespace quessel::yaml {
namespace {

bool isIdentifierStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isIdentifierPart(char c) {
    return isIdentifierStart(c) || (c >= '0' && c <= '9');
}

// Both tools read `.name` only for these; anything else needs the bracket form.
bool isIdentifier(const std::string& key) {
    return !key.empty() && isIdentifierStart(key.front()) &&
           std::all_of(key.begin() + 1, key.end(), isIdentifierPart);
}

void appendEscaped(std::string& out, char c) {
    static constexpr char hexDigits[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    if (byte < 0x20 || byte == 0x7F) {
        out += "\\u00";
        out.push_back(hexDigits[byte >> 4U]);
        out.push_back(hexDigits[byte & 0xFU]);
        return;
    }
    out.push_back(c);
}

// A JSON string; text that is not UTF-8 (no loaded key is) would make the path unreadable, so
// its bad bytes become replacement characters first.
void appendJsonString(std::string& out, const std::string& key) {
    const std::string valid = utf8::makeValid(key);
    out.push_back('"');
    for (const char c : valid) {
        appendEscaped(out, c);
    }
    out.push_back('"');
}

void appendIndex(std::string& out, std::size_t position) {
    out.push_back('[');
    out += std::to_string(position);
    out.push_back(']');
}

void appendKey(std::string& out, const std::string& key) {
    if (isIdentifier(key)) {
        out.push_back('.');
        out += key;
        return;
    }
    out.push_back('[');
    appendJsonString(out, key);
    out.push_back(']');
}

} // namespace

std::string NodePath::text() const {
    std::string out;
    for (const PathStep& step : steps) {
        // A path may not start with a bracket: `.[0]`, `.["a b"]`.
        if (std::holds_alternative<std::size_t>(step.step)) {
            if (out.empty()) {
                out.push_back('.');
            }
            appendIndex(out, std::get<std::size_t>(step.step));
            continue;
        }
        const std::string& key = std::get<std::string>(step.step);
        if (out.empty() && !isIdentifier(key)) {
            out.push_back('.');
        }
        appendKey(out, key);
    }
    return out.empty() ? "." : out;
}

} // namespace quessel::yaml
