// Composition: libyaml's events of one document turned into a node tree, with anchors,
// aliases, the depth limit and the duplicate-key check.
#include "yaml/Composer.hpp"

#include "yaml/ExpansionBudget.hpp"
#include "yaml/Limits.hpp"
#include "yaml/NodeArena.hpp"
#include "yaml/Parser.hpp"
#include "yaml/Utf8.hpp"
#include "yaml/YamlError.hpp"

#include <stdexcept>

namespace quessel::yaml {
namespace {

Mark markOf(const yaml_mark_t& mark) {
    return Mark{static_cast<std::int64_t>(mark.line) + 1,
                static_cast<std::int64_t>(mark.column) + 1};
}

std::string nameOf(const yaml_char_t* name) {
    return utf8::makeValid(reinterpret_cast<const char*>(name));
}

std::string_view textOf(const yaml_char_t* text) {
    return reinterpret_cast<const char*>(text);
}

} // namespace

Composer::Composer(Parser& parser, NodeArena& arena) : parser_(parser), arena_(arena) {}

Node Composer::loadDocument() {
    for (;;) {
        LibyamlEvent event = parser_.nextEvent();
        std::optional<Node> complete;
        switch (event.type()) {
        case YAML_SCALAR_EVENT:
            complete = loadScalar(*event.get());
            break;
        case YAML_ALIAS_EVENT:
            complete = loadAlias(*event.get());
            break;
        case YAML_SEQUENCE_START_EVENT:
            openCollection(*event.get(), Node::Kind::sequence);
            break;
        case YAML_MAPPING_START_EVENT:
            openCollection(*event.get(), Node::Kind::mapping);
            break;
        case YAML_SEQUENCE_END_EVENT:
        case YAML_MAPPING_END_EVENT:
            if (open_.empty()) {
                throw std::logic_error("libyaml ended a collection that was never opened");
            }
            complete = closeCollection();
            break;
        default:
            throw std::logic_error("libyaml delivered an event where a node was expected");
        }
        if (!complete) {
            continue;
        }
        if (open_.empty()) {
            parser_.nextEvent(); // the document end
            return *complete;
        }
        pending_.push_back(*complete);
    }
}

Node Composer::loadScalar(const yaml_event_t& event) {
    const auto& scalar = event.data.scalar;
    if (scalar.length > UINT32_MAX) {
        throw YamlError::memory();
    }
    std::uint32_t tag = detail::implicitTag;
    if (scalar.quoted_implicit == 1) {
        tag = detail::strTag;
    } else if (scalar.tag != nullptr) {
        tag = arena_.internTagName(textOf(scalar.tag));
    }
    const std::string_view text(reinterpret_cast<const char*>(scalar.value), scalar.length);
    detail::NodeData* node = arena_.newScalar(text, tag, static_cast<ScalarStyle>(scalar.style),
                                              markOf(event.start_mark));
    if (scalar.anchor != nullptr) {
        registerAnchor(nameOf(scalar.anchor), node);
    }
    return Node(node);
}

Node Composer::loadAlias(const yaml_event_t& event) {
    const auto found = anchorMap_.find(nameOf(event.data.alias.anchor));
    if (found == anchorMap_.end()) {
        throw YamlError::composer(std::nullopt, "found undefined alias", markOf(event.start_mark),
                                  parser_.yaml());
    }
    return Node(arena_.newAliasOccurrence(found->second.data(), markOf(event.start_mark)));
}

void Composer::openCollection(const yaml_event_t& event, Node::Kind kind) {
    const Mark mark = markOf(event.start_mark);
    if (open_.size() >= limits::maximumDepth) {
        throwDepthExceeded(mark, parser_.yaml());
    }
    const bool isSequence = kind == Node::Kind::sequence;
    const yaml_char_t* tag =
        isSequence ? event.data.sequence_start.tag : event.data.mapping_start.tag;
    const int implicit =
        isSequence ? event.data.sequence_start.implicit : event.data.mapping_start.implicit;
    const yaml_char_t* anchor =
        isSequence ? event.data.sequence_start.anchor : event.data.mapping_start.anchor;
    const auto style = isSequence ? static_cast<std::uint8_t>(event.data.sequence_start.style)
                                  : static_cast<std::uint8_t>(event.data.mapping_start.style);
    Open& collection = open_.emplace_back();
    collection.kind = kind;
    collection.tagName = (implicit != 0 || tag == nullptr) ? std::uint32_t{detail::implicitTag}
                                                           : arena_.internTagName(textOf(tag));
    collection.style = style;
    collection.mark = mark;
    collection.firstChild = pending_.size();
    collection.anchored = anchor != nullptr;
    if (anchor != nullptr) {
        collection.anchor = nameOf(anchor);
    }
}

Node Composer::closeCollection() {
    const Open& collection = open_.back();
    const std::span<const Node> children(pending_.data() + collection.firstChild,
                                         pending_.size() - collection.firstChild);
    const auto style = static_cast<CollectionStyle>(collection.style);
    detail::NodeData* node = nullptr;
    if (collection.kind == Node::Kind::sequence) {
        node = arena_.newSequence(children, collection.tagName, style, collection.mark);
    } else {
        node = arena_.newMapping(children, collection.tagName, style, collection.mark);
        node->flags |= duplicates_.check(Node(node).pairs(), parser_.yaml());
    }
    pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(collection.firstChild),
                   pending_.end());
    if (collection.anchored) {
        registerAnchor(collection.anchor, node);
    }
    open_.pop_back();
    return Node(node);
}

void Composer::registerAnchor(const std::string& name, detail::NodeData* node) {
    const Anchor& anchor = arena_.addAnchor(name);
    arena_.setAnchor(node, anchor);
    anchorMap_.insert_or_assign(name, Node(node));
}

} // namespace quessel::yaml
