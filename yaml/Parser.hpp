// Drives libyaml's event parser over one text and composes its one document into nodes.
#pragma once

#include "yaml/Composer.hpp"
#include "yaml/Constructor.hpp"
#include "yaml/LibyamlEvent.hpp"
#include "yaml/LibyamlParser.hpp"
#include "yaml/Node.hpp"
#include "yaml/NodeArena.hpp"
#include "yaml/Resolver.hpp"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quessel::yaml {

class Parser {
public:
    enum class Encoding : std::uint8_t { utf8, utf16 };

    // The encoding loads use when given none. Made once per process, thread-safely, on first
    // use: YAML_DEFAULT_ENCODING set to utf8 or utf16 (in any case) selects it and prints the
    // notice line on standard output; anything else leaves utf8, silently.
    static Encoding defaultEncoding();
    static void setDefaultEncoding(Encoding encoding);
    // Where that notice goes instead of standard output, for a program whose standard output is
    // its product. Takes effect only before the first use of the default encoding.
    static void setNoticeStream(std::FILE* stream);
    // "utf8" or "utf16".
    static std::string_view rawValue(Encoding encoding);
    // The encoding an environment value selects, if any (null: the variable is not set).
    static std::optional<Encoding> encodingFromEnvironment(const char* value);
    // The line printed when the environment selects `encoding`, line feed included.
    static std::string defaultEncodingNotice(Encoding encoding);

    // Sets up libyaml over the text and reads the stream start. The text is not copied (with
    // utf16 it is converted once): it must outlive the parser, as must the resolver and the
    // constructor. Throws YamlError when libyaml fails, or Memory error for texts of 4 GiB or
    // more.
    explicit Parser(std::string_view yaml, const Resolver& resolver = Resolver::standard(),
                    const Constructor& constructor = Constructor::standard(),
                    Encoding encoding = defaultEncoding());
    ~Parser();
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // The root of the stream's only document; none when the text holds no document. Throws
    // YamlError for libyaml failures, undefined aliases, duplicate keys, nesting deeper than
    // limits::maximumDepth and a second document. The nodes live as long as the parser.
    std::optional<Node> singleRoot();
    // The root of the stream's next document, for streams read document by document; none at
    // the stream's end. Throws as singleRoot does, but a next document is no error. Anchors
    // name nodes of their own document only.
    std::optional<Node> nextRoot();

    std::string_view yaml() const { return yaml_; }
    Encoding encoding() const { return encoding_; }
    const Resolver& resolver() const { return arena_->resolver(); }
    const Constructor& constructor() const { return arena_->constructor(); }
    // The anchors composition registered, in registration order.
    const std::deque<Anchor>& anchors() const { return arena_->anchors(); }

private:
    friend class Composer;
    // The next event; throws the YamlError libyaml's state describes when there is none.
    LibyamlEvent nextEvent();
    void startParse(std::string_view input);

    std::string_view yaml_;
    Encoding encoding_;
    std::string buffer_; // the UTF-16 input; libyaml reads it lazily, so it lives as long
    LibyamlParser parser_;
    std::unique_ptr<NodeArena> arena_;
    Composer composer_;
};

} // namespace quessel::yaml
