// The YamlError that libyaml's parser state describes after a failed parse call.
#include "yaml/ParserStateError.hpp"

#include "yaml/SourceText.hpp"
#include "yaml/Utf8.hpp"

#include <stdexcept>
#include <string>

namespace quessel::yaml {
namespace {

std::string textOf(const char* text) {
    return text == nullptr ? std::string() : text;
}

Mark markOf(const yaml_mark_t& mark) {
    return Mark{static_cast<std::int64_t>(mark.line) + 1,
                static_cast<std::int64_t>(mark.column) + 1};
}

std::optional<std::int64_t> readerOffset(const yaml_parser_t& parser, std::string_view yaml,
                                         bool utf16Input) {
    std::optional<std::size_t> byteOffset = parser.problem_offset;
    if (utf16Input) {
        byteOffset = utf8::byteOffsetOfUtf16(yaml, parser.problem_offset / 2);
    }
    if (!byteOffset) {
        return std::nullopt;
    }
    const auto characters = charactersBefore(yaml, *byteOffset);
    if (!characters) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*characters);
}

} // namespace

YamlError errorFromParserState(const yaml_parser_t& parser, std::string_view yaml,
                               bool utf16Input) {
    std::optional<YamlError::Context> context;
    if (parser.context != nullptr) {
        context = YamlError::Context{parser.context, markOf(parser.context_mark)};
    }
    switch (parser.error) {
    case YAML_MEMORY_ERROR:
        return YamlError::memory();
    case YAML_READER_ERROR:
        return YamlError::reader(textOf(parser.problem), readerOffset(parser, yaml, utf16Input),
                                 parser.problem_value, yaml);
    case YAML_SCANNER_ERROR:
        return YamlError::scanner(std::move(context), textOf(parser.problem),
                                  markOf(parser.problem_mark), yaml);
    case YAML_PARSER_ERROR:
        return YamlError::parser(std::move(context), textOf(parser.problem),
                                 markOf(parser.problem_mark), yaml);
    case YAML_COMPOSER_ERROR:
        return YamlError::composer(std::move(context), textOf(parser.problem),
                                   markOf(parser.problem_mark), yaml);
    default:
        throw std::logic_error(
            "Parser has unknown error: " + std::to_string(static_cast<int>(parser.error)) + "!");
    }
}

} // namespace quessel::yaml
