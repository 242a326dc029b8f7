// The text a value shows as: for the duplicate-key report, derived mapping keys, and the page.
#include "yaml/ValueText.hpp"

#include "yaml/Resolver.hpp"
#include "yaml/TagName.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace quessel::yaml {
namespace {

constexpr std::string_view flowIndicators = ",[]{}";
constexpr std::string_view leadingIndicators = "-?:,[]{}#&*!|>'\"%@` \t";

bool needsQuotes(std::string_view text) {
    if (text.empty() || leadingIndicators.find(text.front()) != std::string_view::npos ||
        text.back() == ' ' || text.back() == '\t' || text.back() == ':') {
        return true;
    }
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
            flowIndicators.find(c) != std::string_view::npos) {
            return true;
        }
    }
    if (text.find(": ") != std::string_view::npos || text.find(" #") != std::string_view::npos ||
        text.find("\xC2\x85") != std::string_view::npos ||
        text.find("\xE2\x80\xA8") != std::string_view::npos ||
        text.find("\xE2\x80\xA9") != std::string_view::npos) {
        return true;
    }
    return Resolver::standard().resolve(text) != TagName::str;
}

void appendEscaped(std::string& out, std::string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '\r':
            out += "\\r";
            continue;
        default:
            break;
        }
        if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
            out += escape;
        } else if (text.substr(i).starts_with("\xC2\x85")) {
            out += "\\N", ++i;
        } else if (text.substr(i).starts_with("\xE2\x80\xA8")) {
            out += "\\L", i += 2;
        } else if (text.substr(i).starts_with("\xE2\x80\xA9")) {
            out += "\\P", i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's civil_from_days).
void civilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

std::string scalarText(const YamlValue& value) {
    return std::visit(
        [&value](const auto& content) -> std::string {
            using T = std::decay_t<decltype(content)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return content;
            } else if constexpr (std::is_same_v<T, bool>) {
                return content ? "true" : "false";
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                return std::to_string(content);
            } else if constexpr (std::is_same_v<T, double>) {
                return floatText(content);
            } else if constexpr (std::is_same_v<T, Null>) {
                return "null";
            } else if constexpr (std::is_same_v<T, Timestamp>) {
                return timestampText(content);
            } else if constexpr (std::is_same_v<T, Data>) {
                return dataText(content);
            } else {
                return flowText(value);
            }
        },
        value.storage);
}

// One piece of pending output: a value to write, or a literal.
struct Piece {
    const YamlValue* value;
    std::string_view literal;
    const std::string* text;
};

Piece valuePiece(const YamlValue& value) {
    return {&value, {}, nullptr};
}
Piece literalPiece(std::string_view literal) {
    return {nullptr, literal, nullptr};
}
Piece textPiece(const std::string& text) {
    return {nullptr, {}, &text};
}

void writeSet(const Set& set, std::string& out) {
    out += '{';
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (i > 0) {
            out += ", ";
        }
        out += flowString(set[i]);
    }
    out += '}';
}

void expand(const YamlValue& value, std::string& out, std::vector<Piece>& pending) {
    if (const auto* sequence = std::get_if<Sequence>(&value.storage)) {
        out += '[';
        pending.push_back(literalPiece("]"));
        for (std::size_t i = sequence->size(); i-- > 0;) {
            pending.push_back(valuePiece((*sequence)[i]));
            if (i > 0) {
                pending.push_back(literalPiece(", "));
            }
        }
    } else if (const auto* mapping = std::get_if<Mapping>(&value.storage)) {
        out += '{';
        pending.push_back(literalPiece("}"));
        const auto& entries = mapping->entries();
        for (std::size_t i = entries.size(); i-- > 0;) {
            pending.push_back(valuePiece(entries[i].value));
            pending.push_back(literalPiece(": "));
            pending.push_back(textPiece(entries[i].key));
            if (i > 0) {
                pending.push_back(literalPiece(", "));
            }
        }
    } else if (const auto* set = std::get_if<Set>(&value.storage)) {
        writeSet(*set, out);
    } else if (const auto* pair = std::get_if<Pair>(&value.storage)) {
        pending.push_back(valuePiece(*pair->value));
        pending.push_back(literalPiece(": "));
        pending.push_back(valuePiece(*pair->key));
    } else if (const auto* text = std::get_if<std::string>(&value.storage)) {
        out += flowString(*text);
    } else {
        out += scalarText(value);
    }
}

} // namespace

std::string flowString(std::string_view text) {
    if (!needsQuotes(text)) {
        return std::string(text);
    }
    std::string quoted;
    quoted.reserve(text.size() + 2);
    appendEscaped(quoted, text);
    return quoted;
}

std::string flowText(const YamlValue& value) {
    std::string out;
    std::vector<Piece> pending{valuePiece(value)};
    while (!pending.empty()) {
        const Piece piece = pending.back();
        pending.pop_back();
        if (piece.value != nullptr) {
            expand(*piece.value, out, pending);
        } else if (piece.text != nullptr) {
            out += flowString(*piece.text);
        } else {
            out += piece.literal;
        }
    }
    return out;
}

std::string displayText(const YamlValue& value) {
    return scalarText(value);
}

std::string floatText(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    // "%.16g" as the C locale writes it, whatever LC_NUMERIC the application runs with (GTK
    // sets it from the environment, and a decimal comma must not reach the page).
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 16);
    return std::string(text, result.ptr);
}

std::string timestampText(const Timestamp& timestamp) {
    const std::int64_t days = timestamp.seconds >= 0 ? timestamp.seconds / 86400
                                                     : -((-timestamp.seconds + 86399) / 86400);
    const std::int64_t secondOfDay = timestamp.seconds - days * 86400;
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);
    char text[64];
    std::snprintf(
        text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld +0000",
        static_cast<long long>(year), month, day, static_cast<long long>(secondOfDay / 3600),
        static_cast<long long>(secondOfDay / 60 % 60), static_cast<long long>(secondOfDay % 60));
    return text;
}

std::string dataText(const Data& data) {
    return std::to_string(data.bytes.size()) + " bytes";
}

} // namespace quessel::yaml
