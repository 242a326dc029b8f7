// A small JSON reader for the tests: the YAML test suite states expected values as JSON.
#include "tests/yaml/JsonReader.hpp"

#include "yaml/Utf8.hpp"

#include <charconv>
#include <cstdlib>
#include <string>

namespace quessel::yaml::testing {
namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool atEnd() {
        skipSpace();
        return position_ >= text_.size();
    }

    // Recursive descent: the suite's expectations nest a handful of levels at most.
    std::optional<YamlValue> value() {
        skipSpace();
        if (position_ >= text_.size()) {
            return std::nullopt;
        }
        switch (text_[position_]) {
        case '{':
            return object();
        case '[':
            return array();
        case '"': {
            auto text = string();
            return text ? std::optional<YamlValue>(std::move(*text)) : std::nullopt;
        }
        default:
            return literal();
        }
    }

private:
    void skipSpace() {
        while (position_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[position_]) != std::string_view::npos) {
            ++position_;
        }
    }

    bool take(char c) {
        skipSpace();
        if (position_ < text_.size() && text_[position_] == c) {
            ++position_;
            return true;
        }
        return false;
    }

    std::optional<YamlValue> object() {
        ++position_;
        Mapping mapping;
        if (take('}')) {
            return YamlValue(std::move(mapping));
        }
        do {
            skipSpace();
            auto key = string();
            if (!key || !take(':')) {
                return std::nullopt;
            }
            auto member = value();
            if (!member) {
                return std::nullopt;
            }
            mapping.entries().push_back({std::move(*key), std::move(*member)});
        } while (take(','));
        return take('}') ? std::optional<YamlValue>(std::move(mapping)) : std::nullopt;
    }

    std::optional<YamlValue> array() {
        ++position_;
        Sequence sequence;
        if (take(']')) {
            return YamlValue(std::move(sequence));
        }
        do {
            auto element = value();
            if (!element) {
                return std::nullopt;
            }
            sequence.push_back(std::move(*element));
        } while (take(','));
        return take(']') ? std::optional<YamlValue>(std::move(sequence)) : std::nullopt;
    }

    std::optional<unsigned> hex4() {
        unsigned unit = 0;
        const auto* begin = text_.data() + position_;
        if (text_.size() - position_ < 4 ||
            std::from_chars(begin, begin + 4, unit, 16).ptr != begin + 4) {
            return std::nullopt;
        }
        position_ += 4;
        return unit;
    }

    bool escape(std::string& out) {
        const char c = text_[position_++];
        const std::string_view simple = "\"\\/bfnrt";
        const std::string_view meaning = "\"\\/\b\f\n\r\t";
        if (const auto found = simple.find(c); found != std::string_view::npos) {
            out += meaning[found];
            return true;
        }
        if (c != 'u') {
            return false;
        }
        auto unit = hex4();
        if (!unit) {
            return false;
        }
        char32_t scalar = *unit;
        if (*unit >= 0xD800 && *unit <= 0xDBFF && text_.substr(position_, 2) == "\\u") {
            position_ += 2;
            const auto low = hex4();
            if (!low) {
                return false;
            }
            scalar = 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
        }
        utf8::append(out, scalar);
        return true;
    }

    std::optional<std::string> string() {
        if (position_ >= text_.size() || text_[position_] != '"') {
            return std::nullopt;
        }
        ++position_;
        std::string out;
        while (position_ < text_.size() && text_[position_] != '"') {
            if (text_[position_] == '\\') {
                ++position_;
                if (position_ >= text_.size() || !escape(out)) {
                    return std::nullopt;
                }
            } else {
                out += text_[position_++];
            }
        }
        if (position_ >= text_.size()) {
            return std::nullopt;
        }
        ++position_;
        return out;
    }

    std::optional<YamlValue> literal() {
        for (const auto& [word, meaning] : {std::pair<std::string_view, YamlValue>{"true", true},
                                            {"false", false},
                                            {"null", Null{}}}) {
            if (text_.substr(position_).starts_with(word)) {
                position_ += word.size();
                return meaning;
            }
        }
        return number();
    }

    std::optional<YamlValue> number() {
        const std::size_t start = position_;
        bool integral = true;
        while (position_ < text_.size() &&
               std::string_view("+-0123456789.eE").find(text_[position_]) !=
                   std::string_view::npos) {
            integral = integral &&
                       std::string_view(".eE").find(text_[position_]) == std::string_view::npos;
            ++position_;
        }
        const std::string digits(text_.substr(start, position_ - start));
        if (digits.empty()) {
            return std::nullopt;
        }
        std::int64_t whole = 0;
        if (integral && std::from_chars(digits.data(), digits.data() + digits.size(), whole).ec ==
                            std::errc{}) {
            return YamlValue(whole);
        }
        return YamlValue(std::strtod(digits.c_str(), nullptr));
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

} // namespace

std::optional<std::vector<YamlValue>> readJsonValues(std::string_view text) {
    Reader reader(text);
    std::vector<YamlValue> values;
    while (!reader.atEnd()) {
        auto value = reader.value();
        if (!value) {
            return std::nullopt;
        }
        values.push_back(std::move(*value));
    }
    return values;
}

} // namespace quessel::yaml::testing
