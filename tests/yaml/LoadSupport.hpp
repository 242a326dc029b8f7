// Shared helpers of the YAML layer's tests: load a text, or catch the error it fails with.
#pragma once

#include "yaml/Load.hpp"
#include "yaml/ValueText.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quessel::yaml {

// Failed expectations show values as text rather than bytes.
inline void PrintTo(const YamlValue& value, std::ostream* out) {
    *out << displayText(value);
}

} // namespace quessel::yaml

namespace quessel::yaml::testing {

// The loaded value, failing the test when there is none or the load throws.
inline YamlValue loaded(std::string_view text) {
    try {
        std::optional<YamlValue> value = load(text);
        if (!value) {
            ADD_FAILURE() << "no document in: " << text;
            return {};
        }
        return std::move(*value);
    } catch (const YamlError& error) {
        ADD_FAILURE() << "unexpected error for: " << text << "\n" << error.description();
        return {};
    }
}

// The error the load throws, failing the test when it succeeds.
inline std::optional<YamlError> failure(std::string_view text,
                                        Parser::Encoding encoding = Parser::Encoding::utf8) {
    try {
        load(text, Resolver::standard(), Constructor::standard(), encoding);
    } catch (const YamlError& error) {
        return error;
    }
    ADD_FAILURE() << "expected an error for: " << text;
    return std::nullopt;
}

// The description of the error the load throws, or "" after a test failure.
inline std::string describe(std::string_view text,
                            Parser::Encoding encoding = Parser::Encoding::utf8) {
    const auto error = failure(text, encoding);
    return error ? error->description() : std::string();
}

// The value under `key` of a loaded mapping.
inline const YamlValue& at(const YamlValue& mapping, std::string_view key) {
    static const YamlValue missing;
    const YamlValue* found = mapping.is<Mapping>() ? mapping.as<Mapping>().find(key) : nullptr;
    if (found == nullptr) {
        ADD_FAILURE() << "no key " << key;
        return missing;
    }
    return *found;
}

inline YamlValue integer(std::int64_t value) {
    return YamlValue(value);
}

// The root node the parser composes; throws (failing the test) when there is none.
inline Node rootOf(Parser& parser) {
    const std::optional<Node> root = parser.singleRoot();
    if (!root) {
        throw std::runtime_error("no root");
    }
    return *root;
}

// A whole file as bytes.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

} // namespace quessel::yaml::testing
