// Where each collection of a text is written: from its first content (after its anchor and
// tag) to its last, as libyaml's event marks give them. Composed nodes keep only their start.
#pragma once

#include "yaml/Mark.hpp"
#include "yaml/MarkOffsets.hpp"
#include "yaml/Parser.hpp"

#include <yaml.h>

#include <cstddef>
#include <string_view>
#include <vector>

namespace quessel::yaml {

struct CollectionSpan {
    Mark begin; // the opening bracket, the first key (or `?`), or the first dash
    Mark end;   // after the closing bracket, or after the last scalar, alias or flow collection
    bool bracketed = false; // a flow collection but a single pair in a flow sequence
};

class CollectionSpans {
public:
    // Reads every event of the text. A text that fails to parse keeps the spans of the
    // collections closed before the failure.
    CollectionSpans(const MarkOffsets& offsets, Parser::Encoding encoding);

    // The span of a document's collection, numbered from 0 in the order the collections start
    // (the order of a walk that visits a node before its children, and aliases not at all);
    // null when the document has no such collection.
    const CollectionSpan* find(std::size_t document, std::size_t collection) const;

private:
    void open(const yaml_event_t& event, bool sequence);
    void close(const yaml_event_t& event);
    void scalar(const yaml_event_t& event);

    const MarkOffsets& offsets_;
    std::vector<std::size_t> open_; // the open collections' spans, innermost last
    Mark lastContent_;
    std::vector<std::vector<CollectionSpan>> documents_;
};

} // namespace quessel::yaml
