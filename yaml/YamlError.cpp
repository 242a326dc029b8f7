// The one failure type of the YAML layer: what libyaml or the composer reported, where, and a
// description that quotes the source line.
#include "yaml/YamlError.hpp"

#include "yaml/SourceText.hpp"

#include <utility>

namespace quessel::yaml {

struct YamlError::Fields {
    Kind kind = Kind::no;
    std::string problem;
    std::optional<Context> context;
    std::optional<Mark> mark;
    std::optional<std::int64_t> offset;
    std::int32_t value = 0;
    std::vector<DuplicatedKey> duplicates;
    std::string description;
};

namespace {

std::string_view kindText(YamlError::Kind kind) {
    switch (kind) {
    case YamlError::Kind::scanner:
        return ": error: scanner: ";
    case YamlError::Kind::parser:
        return ": error: parser: ";
    default:
        return ": error: composer: ";
    }
}

std::string readerDescription(const std::string& problem, std::optional<std::int64_t> offset,
                              std::int32_t value, std::string_view yaml) {
    if (offset && *offset >= 0) {
        if (const auto place =
                lineNumberColumnAndContents(yaml, static_cast<std::size_t>(*offset))) {
            return std::to_string(place->lineNumber + 1) + ":" + std::to_string(place->column + 1) +
                   ": error: reader: " + problem + ":\n" + endingWithNewLine(place->contents) +
                   std::string(place->column, ' ') + "^";
        }
    }
    return problem + " at offset: nil, value: " + std::to_string(value);
}

std::string duplicatesDescription(const std::vector<YamlError::DuplicatedKey>& duplicates,
                                  std::string_view yaml) {
    // Reports may quote thousands of lines: find the lines once.
    const LineIndex lines(yaml);
    std::string result = "error: parser: expected all keys to be unique but found the following "
                         "duplicated key(s):";
    for (const YamlError::DuplicatedKey& key : duplicates) {
        result += '\n';
        result += key.text;
        result += " ([";
        std::string snippets;
        for (std::size_t i = 0; i < key.occurrences.size(); ++i) {
            if (i > 0) {
                result += ", ";
                snippets += '\n';
            }
            result += key.occurrences[i].description();
            snippets += key.occurrences[i].snippet(lines);
        }
        result += "]):\n";
        result += snippets;
    }
    return result;
}

} // namespace

std::string YamlError::Context::description() const {
    return text + " in line " + std::to_string(mark.line) + ", column " +
           std::to_string(mark.column) + "\n";
}

YamlError::YamlError(std::shared_ptr<const Fields> fields) : fields_(std::move(fields)) {}

YamlError YamlError::reader(std::string problem, std::optional<std::int64_t> offset,
                            std::int32_t value, std::string_view yaml) {
    auto fields = std::make_shared<Fields>();
    fields->kind = Kind::reader;
    fields->description = readerDescription(problem, offset, value, yaml);
    fields->problem = std::move(problem);
    fields->offset = offset;
    fields->value = value;
    return YamlError(std::move(fields));
}

YamlError YamlError::positioned(Kind kind, std::optional<Context> context, std::string problem,
                                Mark mark, std::string_view yaml) {
    auto fields = std::make_shared<Fields>();
    fields->kind = kind;
    fields->description = mark.description() + std::string(kindText(kind)) +
                          (context ? context->description() : std::string()) + problem + ":\n" +
                          mark.snippet(yaml);
    fields->problem = std::move(problem);
    fields->context = std::move(context);
    fields->mark = mark;
    return YamlError(std::move(fields));
}

YamlError YamlError::scanner(std::optional<Context> context, std::string problem, Mark mark,
                             std::string_view yaml) {
    return positioned(Kind::scanner, std::move(context), std::move(problem), mark, yaml);
}

YamlError YamlError::parser(std::optional<Context> context, std::string problem, Mark mark,
                            std::string_view yaml) {
    return positioned(Kind::parser, std::move(context), std::move(problem), mark, yaml);
}

YamlError YamlError::composer(std::optional<Context> context, std::string problem, Mark mark,
                              std::string_view yaml) {
    return positioned(Kind::composer, std::move(context), std::move(problem), mark, yaml);
}

YamlError YamlError::withMessage(Kind kind, std::string message, std::string description) {
    auto fields = std::make_shared<Fields>();
    fields->kind = kind;
    fields->problem = std::move(message);
    fields->description = std::move(description);
    return YamlError(std::move(fields));
}

YamlError YamlError::writer(std::string message) {
    return withMessage(Kind::writer, message, message);
}

YamlError YamlError::emitter(std::string message) {
    return withMessage(Kind::emitter, message, message);
}

YamlError YamlError::representer(std::string message) {
    return withMessage(Kind::representer, message, message);
}

YamlError YamlError::dataCouldNotBeDecoded(std::string encoding) {
    std::string description =
        "String could not be decoded from data using '" + encoding + "' encoding";
    return withMessage(Kind::dataCouldNotBeDecoded, std::move(encoding), std::move(description));
}

YamlError YamlError::duplicatedKeysInMapping(std::vector<DuplicatedKey> duplicates,
                                             std::string_view yaml) {
    auto fields = std::make_shared<Fields>();
    fields->kind = Kind::duplicatedKeysInMapping;
    fields->description = duplicatesDescription(duplicates, yaml);
    fields->duplicates = std::move(duplicates);
    return YamlError(std::move(fields));
}

YamlError YamlError::no() {
    return withMessage(Kind::no, {}, "No error is produced");
}

YamlError YamlError::memory() {
    return withMessage(Kind::memory, {}, "Memory error");
}

YamlError::Kind YamlError::kind() const {
    return fields_->kind;
}
const std::string& YamlError::problem() const {
    return fields_->problem;
}
const std::optional<YamlError::Context>& YamlError::context() const {
    return fields_->context;
}
const std::optional<Mark>& YamlError::mark() const {
    return fields_->mark;
}
const std::optional<std::int64_t>& YamlError::offset() const {
    return fields_->offset;
}
std::int32_t YamlError::value() const {
    return fields_->value;
}
const std::vector<YamlError::DuplicatedKey>& YamlError::duplicates() const {
    return fields_->duplicates;
}
std::string YamlError::description() const {
    return fields_->description;
}
const char* YamlError::what() const noexcept {
    return fields_->description.c_str();
}

} // namespace quessel::yaml
