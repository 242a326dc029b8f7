// Drives libyaml's event parser over one text and composes its one document into nodes.
#include "yaml/Parser.hpp"

#include "yaml/HeapRetention.hpp"
#include "yaml/ParserStateError.hpp"
#include "yaml/Utf8.hpp"
#include "yaml/WhiteSpaceOnly.hpp"
#include "yaml/YamlError.hpp"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace quessel::yaml {
namespace {

// Null: standard output.
std::atomic<std::FILE*> noticeStream{nullptr};

Parser::Encoding initialDefaultEncoding() {
    const auto selected = Parser::encodingFromEnvironment(std::getenv("YAML_DEFAULT_ENCODING"));
    if (!selected) {
        return Parser::Encoding::utf8;
    }
    std::FILE* const stream = noticeStream.load() ? noticeStream.load() : stdout;
    const std::string notice = Parser::defaultEncodingNotice(*selected);
    std::fwrite(notice.data(), 1, notice.size(), stream);
    std::fflush(stream);
    return *selected;
}

std::atomic<Parser::Encoding>& defaultEncodingStorage() {
    // A function-local static: initialised once, thread-safely, on first use.
    static std::atomic<Parser::Encoding> storage{initialDefaultEncoding()};
    return storage;
}

// libyaml insists on a non-null input pointer, also for no bytes.
constexpr unsigned char noInput[1] = {0};

} // namespace

Parser::Encoding Parser::defaultEncoding() {
    return defaultEncodingStorage().load(std::memory_order_relaxed);
}

void Parser::setDefaultEncoding(Encoding encoding) {
    defaultEncodingStorage().store(encoding, std::memory_order_relaxed);
}

void Parser::setNoticeStream(std::FILE* stream) {
    noticeStream.store(stream);
}

std::string_view Parser::rawValue(Encoding encoding) {
    return encoding == Encoding::utf16 ? "utf16" : "utf8";
}

std::optional<Parser::Encoding> Parser::encodingFromEnvironment(const char* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    std::string lowered(value);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (lowered == "utf8") {
        return Encoding::utf8;
    }
    if (lowered == "utf16") {
        return Encoding::utf16;
    }
    return std::nullopt;
}

std::string Parser::defaultEncodingNotice(Encoding encoding) {
    return "`Parser.Encoding.default` was set to `" + std::string(rawValue(encoding)) +
           "` by the `YAML_DEFAULT_ENCODING` environment variable.\n";
}

Parser::Parser(std::string_view yaml, const Resolver& resolver, const Constructor& constructor,
               Encoding encoding)
    : yaml_(yaml), encoding_(encoding),
      arena_(std::make_unique<NodeArena>(resolver, constructor, yaml)), composer_(*this, *arena_) {
    HeapRetention::ensure();
    // Marks, lengths and counts are kept in 32 bits (see NodeArena).
    if (yaml.size() >= UINT32_MAX) {
        throw YamlError::memory();
    }
    // libyaml refuses a tab where indentation could stand even with nothing after it, while a
    // text of white space alone holds no document: libyaml is given nothing to read then.
    const std::string_view input = isWhiteSpaceOnly(yaml) ? std::string_view() : yaml;
    if (encoding == Encoding::utf16) {
        yaml_parser_set_encoding(parser_.get(), YAML_UTF16LE_ENCODING);
        buffer_ = utf8::toUtf16LittleEndian(input);
        startParse(buffer_);
    } else {
        yaml_parser_set_encoding(parser_.get(), YAML_UTF8_ENCODING);
        startParse(input);
    }
}

Parser::~Parser() = default;

void Parser::startParse(std::string_view input) {
    const auto* bytes =
        input.empty() ? noInput : reinterpret_cast<const unsigned char*>(input.data());
    yaml_parser_set_input_string(parser_.get(), bytes, input.size());
    nextEvent(); // the stream start
}

LibyamlEvent Parser::nextEvent() {
    LibyamlEvent event;
    if (yaml_parser_parse(parser_.get(), event.get()) == 0) {
        throw errorFromParserState(*parser_.get(), yaml_, encoding_ == Encoding::utf16);
    }
    return event;
}

std::optional<Node> Parser::singleRoot() {
    if (parser_.get()->stream_end_produced != 0) {
        return std::nullopt;
    }
    if (nextEvent().type() == YAML_STREAM_END_EVENT) {
        return std::nullopt;
    }
    const Node root = composer_.loadDocument();
    const LibyamlEvent next = nextEvent();
    if (next.type() == YAML_STREAM_END_EVENT) {
        return root;
    }
    throw YamlError::composer(
        YamlError::Context{"expected a single document in the stream", Mark{1, 1}},
        "but found another document",
        Mark{static_cast<std::int64_t>(next->start_mark.line) + 1,
             static_cast<std::int64_t>(next->start_mark.column) + 1},
        yaml_);
}

std::optional<Node> Parser::nextRoot() {
    if (parser_.get()->stream_end_produced != 0) {
        return std::nullopt;
    }
    if (nextEvent().type() == YAML_STREAM_END_EVENT) {
        return std::nullopt;
    }
    composer_.forgetAnchors();
    return composer_.loadDocument();
}

} // namespace quessel::yaml
