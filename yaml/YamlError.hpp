// The one failure type of the YAML layer: what libyaml or the composer reported, where, and a
// description that quotes the source line.
#pragma once

#include "yaml/Mark.hpp"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::yaml {

class YamlError : public std::exception {
public:
    enum class Kind : std::uint8_t {
        reader,
        scanner,
        parser,
        composer,
        writer,
        emitter,
        representer,
        dataCouldNotBeDecoded,
        duplicatedKeysInMapping,
        no,
        memory,
    };

    // What libyaml was doing when it failed, and where that began.
    struct Context {
        std::string text;
        Mark mark;
        // text + " in line " + line + ", column " + column + a line feed.
        std::string description() const;
        friend bool operator==(const Context&, const Context&) = default;
    };

    // One key that occurs more than once in a mapping: its value as plain text and where each
    // occurrence stands, in source order.
    struct DuplicatedKey {
        std::string text;
        std::vector<Mark> occurrences;
        friend bool operator==(const DuplicatedKey&, const DuplicatedKey&) = default;
    };

    // `offset` counts characters (extended grapheme clusters) from the start of `yaml`.
    static YamlError reader(std::string problem, std::optional<std::int64_t> offset,
                            std::int32_t value, std::string_view yaml);
    static YamlError scanner(std::optional<Context> context, std::string problem, Mark mark,
                             std::string_view yaml);
    static YamlError parser(std::optional<Context> context, std::string problem, Mark mark,
                            std::string_view yaml);
    static YamlError composer(std::optional<Context> context, std::string problem, Mark mark,
                              std::string_view yaml);
    static YamlError writer(std::string message);
    static YamlError emitter(std::string message);
    static YamlError representer(std::string message);
    static YamlError dataCouldNotBeDecoded(std::string encoding);
    // `duplicates` in the order the report lists them.
    static YamlError duplicatedKeysInMapping(std::vector<DuplicatedKey> duplicates,
                                             std::string_view yaml);
    static YamlError no();
    static YamlError memory();

    Kind kind() const;
    // The problem text; for writer, emitter and representer the message; for
    // dataCouldNotBeDecoded the encoding's name; empty otherwise.
    const std::string& problem() const;
    const std::optional<Context>& context() const;
    const std::optional<Mark>& mark() const;
    const std::optional<std::int64_t>& offset() const;
    std::int32_t value() const;
    const std::vector<DuplicatedKey>& duplicates() const;

    // The whole report. Every error with a known position starts with "line:column: error: ".
    // It is rendered when the error is made, so the error keeps no copy of the source text.
    std::string description() const;
    const char* what() const noexcept override;

private:
    struct Fields;
    explicit YamlError(std::shared_ptr<const Fields> fields);
    static YamlError positioned(Kind kind, std::optional<Context> context, std::string problem,
                                Mark mark, std::string_view yaml);
    static YamlError withMessage(Kind kind, std::string message, std::string description);

    // Shared so that copying an exception never allocates.
    std::shared_ptr<const Fields> fields_;
};

} // namespace quessel::yaml
