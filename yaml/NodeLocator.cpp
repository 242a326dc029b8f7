// Finds a node of the value tree in the source text.
#include "yaml/NodeLocator.hpp"

#include "yaml/CollectionSpans.hpp"
#include "yaml/CollectionText.hpp"
#include "yaml/Construction.hpp"
#include "yaml/EntryDash.hpp"
#include "yaml/EntryLookup.hpp"
#include "yaml/ExpansionBudget.hpp"
#include "yaml/Limits.hpp"
#include "yaml/MarkOffsets.hpp"
#include "yaml/MergeFlattening.hpp"
#include "yaml/NodeArena.hpp"
#include "yaml/YamlError.hpp"

#include <utility>

namespace quessel::yaml {
namespace {

// Where the node stands in the text: an alias where it is written, not where it points.
Mark markOf(const Node& node) {
    if (const auto alias = node.aliasMark()) {
        return *alias;
    }
    return node.mark().value_or(Mark{});
}

bool isCollection(const Node& node) {
    return node.kind() == Node::Kind::mapping || node.kind() == Node::Kind::sequence;
}

// An ordered map or pairs collection is built from its elements that are mappings with a
// pair, and skips the others.
std::optional<Node> elementAt(const Node& sequence, std::size_t index, Construction::Shape shape) {
    const std::span<const Node> elements = sequence.nodes();
    if (shape != Construction::Shape::pairs) {
        return index < elements.size() ? std::optional<Node>(elements[index]) : std::nullopt;
    }
    for (const Node& element : elements) {
        if (element.kind() == Node::Kind::mapping && !element.pairs().empty() && index-- == 0) {
            return element;
        }
    }
    return std::nullopt;
}

// The children of a collection in the order of their events: keys before their values.
Node childAt(const Node& collection, std::size_t index) {
    if (collection.kind() == Node::Kind::mapping) {
        const NodePair& pair = collection.pairs()[index / 2];
        return index % 2 == 0 ? pair.key : pair.value;
    }
    return collection.nodes()[index];
}

std::size_t childCount(const Node& collection) {
    return collection.kind() == Node::Kind::mapping ? collection.pairs().size() * 2
                                                    : collection.nodes().size();
}

// Numbers the collections of a document in the order their events start; an alias has no
// events of what it names.
std::unordered_map<const detail::NodeData*, std::size_t> numberCollections(const Node& root) {
    std::unordered_map<const detail::NodeData*, std::size_t> numbers;
    if (!isCollection(root)) {
        return numbers;
    }
    std::vector<std::pair<Node, std::size_t>> open{{root, 0}};
    numbers.emplace(root.data(), 0);
    while (!open.empty()) {
        const Node collection = open.back().first;
        const std::size_t next = open.back().second++;
        if (next == childCount(collection)) {
            open.pop_back();
            continue;
        }
        const Node child = childAt(collection, next);
        if (!child.isAliasOccurrence() && isCollection(child)) {
            numbers.emplace(child.data(), numbers.size());
            open.emplace_back(child, 0);
        }
    }
    return numbers;
}

} // namespace

NodeLocator::NodeLocator(std::string_view text, const Resolver& resolver,
                         const Constructor& constructor, Parser::Encoding encoding)
    : text_(text), encoding_(encoding) {
    try {
        parser_ = std::make_unique<Parser>(text, resolver, constructor, encoding);
        for (;;) {
            const std::size_t anchors = parser_->anchors().size();
            const std::optional<Node> root = parser_->nextRoot();
            if (!root) {
                break;
            }
            roots_.push_back(*root);
            // Only aliases can make building a document fail where composing it did not.
            if (parser_->anchors().size() != anchors) {
                root->tag().constructor().any(*root);
            }
        }
    } catch (const YamlError&) {
        roots_.clear();
    }
    numbers_.resize(roots_.size());
}

NodeLocator::~NodeLocator() = default;

std::optional<LocatedNode> NodeLocator::locate(const NodePath& path) {
    const std::size_t document = path.document.value_or(0);
    // Deeper paths than the limit lead nowhere: construction builds no such value.
    if (document >= roots_.size() || path.steps.size() > limits::maximumDepth) {
        return std::nullopt;
    }
    try {
        return walk(document, path.steps);
    } catch (const YamlError&) {
        return std::nullopt;
    }
}

std::optional<LocatedNode> NodeLocator::walk(std::size_t document,
                                             const std::vector<PathStep>& steps) {
    Node node = roots_[document];
    Mark label = markOf(node);
    ExpansionBudget budget = ExpansionBudget::of(*node.data()->arena);
    Construction construction(parser_->constructor(), budget);
    MergeFlattening merges(budget);
    EntryLookup entries(construction, merges);
    // A pair of an ordered map or pairs collection shows as one row, with nothing below it.
    bool pair = false;
    for (const PathStep& step : steps) {
        if (pair) {
            return std::nullopt;
        }
        if (const std::string* key = step.keyText()) {
            if (node.kind() != Node::Kind::mapping ||
                construction.shapeOf(node) != Construction::Shape::mapping) {
                return std::nullopt;
            }
            const auto found = entries.find(node, *key);
            if (!found) {
                return std::nullopt;
            }
            label = markOf(found->key);
            node = found->value;
            continue;
        }
        if (node.kind() != Node::Kind::sequence) {
            return std::nullopt;
        }
        const Construction::Shape shape = construction.shapeOf(node);
        const auto element = elementAt(node, std::get<std::size_t>(step.step), shape);
        if (!element) {
            return std::nullopt;
        }
        label = elementLabel(node, *element).value_or(markOf(*element));
        node = *element;
        pair = shape == Construction::Shape::pairs;
    }
    std::optional<std::string> value = valueOf(document, node);
    if (!value) {
        return std::nullopt;
    }
    return LocatedNode{label, std::move(*value)};
}

std::optional<Mark> NodeLocator::elementLabel(const Node& sequence, const Node& element) {
    if (sequence.collectionStyle() != CollectionStyle::block) {
        return std::nullopt;
    }
    return entryDash(offsets(), markOf(element));
}

std::optional<std::string> NodeLocator::valueOf(std::size_t document, const Node& node) {
    if (!isCollection(node)) {
        return std::string(node.string());
    }
    const auto number = collectionNumber(document, node);
    if (!spans_) {
        spans_ = std::make_unique<CollectionSpans>(offsets(), encoding_);
    }
    const CollectionSpan* span = number ? spans_->find(document, *number) : nullptr;
    if (span == nullptr) {
        return std::nullopt;
    }
    const auto begin = offsets_->offsetOf(span->begin);
    const auto end = offsets_->offsetOf(span->end);
    if (!begin || !end) {
        return std::nullopt;
    }
    return collectionText(text_, *begin, *end, static_cast<std::size_t>(span->begin.column - 1),
                          span->bracketed);
}

std::optional<std::size_t> NodeLocator::collectionNumber(std::size_t document,
                                                         const Node& collection) {
    auto& numbers = numbers_[document];
    if (numbers.empty()) {
        numbers = numberCollections(roots_[document]);
    }
    const auto found = numbers.find(collection.data());
    return found == numbers.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

const MarkOffsets& NodeLocator::offsets() {
    if (!offsets_) {
        offsets_ = std::make_unique<MarkOffsets>(text_, encoding_);
    }
    return *offsets_;
}

std::optional<LocatedNode> locateNode(std::string_view text, const NodePath& path,
                                      const Resolver& resolver, const Constructor& constructor,
                                      Parser::Encoding encoding) {
    return NodeLocator(text, resolver, constructor, encoding).locate(path);
}

} // namespace quessel::yaml
