// Where each collection of a text is written: from its first content (after its anchor and
// tag) to its last, as libyaml's event marks give them. Composed nodes keep only their start.
#pragma once

#include "yaml/LibyamlParser.hpp"
#include "yaml/Mark.hpp"
#include "yaml/MarkOffsets.hpp"
#include "yaml/Parser.hpp"

#include <yaml.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::yaml {

struct CollectionSpan {
    Mark begin; // the opening bracket, the first key (or `?`), or the first dash
    Mark end;   // after the closing bracket, or after the last scalar, alias or flow collection
    bool bracketed = false; // a flow collection but a single pair in a flow sequence
    bool closed = false;    // its end event has been read
};

// Events are read only as far as the collections asked for so far: a collection near the start
// of a large text costs little.
class CollectionSpans {
public:
    // The offsets' text, and the marks' line index, must outlive the spans.
    CollectionSpans(const MarkOffsets& offsets, Parser::Encoding encoding);
    ~CollectionSpans();
    CollectionSpans(const CollectionSpans&) = delete;
    CollectionSpans& operator=(const CollectionSpans&) = delete;

    // The span of a document's collection, numbered from 0 in the order the collections start
    // (the order of a walk that visits a node before its children, and aliases not at all);
    // null when the document has no such collection, or the text fails before its end.
    const CollectionSpan* find(std::size_t document, std::size_t collection);

private:
    bool closed(std::size_t document, std::size_t collection) const;
    // Reads one event; false at the stream's end or a failure.
    bool readEvent();
    void open(const yaml_event_t& event, bool sequence);
    void close(const yaml_event_t& event);
    void scalar(const yaml_event_t& event);

    const MarkOffsets& offsets_;
    std::string buffer_; // the UTF-16 input, which libyaml reads lazily
    LibyamlParser parser_;
    bool ended_ = false;
    std::vector<std::size_t> open_; // the open collections' spans, innermost last
    Mark lastContent_;
    std::vector<std::vector<CollectionSpan>> documents_;
};

} // namespace quessel::yaml
