// Structural identities of a load's nodes, so that keys compare and hash in constant time
// however many aliases they repeat.
#include "yaml/NodeIdentities.hpp"

#include "yaml/CanonicalText.hpp"
#include "yaml/Node.hpp"
#include "yaml/NodeArena.hpp"

#include <cstring>
#include <functional>

namespace quessel::yaml {
namespace {

void appendNumber(std::string& key, std::uint32_t number) {
    char bytes[sizeof number];
    std::memcpy(bytes, &number, sizeof number);
    key.append(bytes, sizeof bytes);
}

std::size_t childCount(const detail::NodeData& node) {
    return node.kind == static_cast<std::uint8_t>(Node::Kind::mapping) ? 2 * std::size_t{node.size}
                                                                       : node.size;
}

detail::NodeData* childAt(const detail::NodeData& node, std::size_t index) {
    if (node.kind == static_cast<std::uint8_t>(Node::Kind::mapping)) {
        const NodePair& pair = node.payload.pairs[index / 2];
        return (index % 2 == 0 ? pair.key : pair.value).data();
    }
    return node.payload.nodes[index].data();
}

} // namespace

std::size_t scalarKeyHash(std::string_view text, std::string_view tagName) {
    return combineHash(combineHash(0, canonicalHash(text)), std::hash<std::string_view>{}(tagName));
}

std::uint32_t NodeIdentities::of(detail::NodeData* node) {
    if (node->identity != 0) {
        return node->identity;
    }
    if (node->kind == static_cast<std::uint8_t>(Node::Kind::scalar)) {
        return scalarIdentity(node);
    }
    stack_.clear();
    stack_.push_back({node, 0});
    while (!stack_.empty()) {
        const std::size_t top = stack_.size() - 1;
        detail::NodeData* current = stack_[top].node;
        bool descended = false;
        for (std::size_t count = childCount(*current); stack_[top].next < count;
             ++stack_[top].next) {
            detail::NodeData* child = childAt(*current, stack_[top].next);
            if (child->identity != 0) {
                continue;
            }
            if (child->kind == static_cast<std::uint8_t>(Node::Kind::scalar)) {
                scalarIdentity(child);
                continue;
            }
            stack_.push_back({child, 0});
            descended = true;
            break;
        }
        if (!descended) {
            collectionIdentity(current);
            stack_.pop_back();
        }
    }
    return node->identity;
}

std::uint32_t NodeIdentities::scalarIdentity(detail::NodeData* node) {
    const std::uint32_t tag = detail::resolveTag(*node);
    std::string key(1, 'S');
    appendNumber(key, tag);
    key += canonicalForm(node->text());
    node->identity = intern(std::move(key), scalarKeyHash(node->text(), node->arena->tagName(tag)));
    return node->identity;
}

std::uint32_t NodeIdentities::collectionIdentity(detail::NodeData* node) {
    const std::uint32_t tag = detail::resolveTag(*node);
    std::string key(1, static_cast<char>('0' + node->kind));
    appendNumber(key, tag);
    std::size_t hash = combineHash(node->kind, node->size);
    for (std::size_t i = 0, count = childCount(*node); i < count; ++i) {
        const std::uint32_t child = childAt(*node, i)->identity;
        appendNumber(key, child);
        hash = combineHash(hash, hashes_[child - 1]);
    }
    hash = combineHash(hash, std::hash<std::string_view>{}(node->arena->tagName(tag)));
    node->identity = intern(std::move(key), hash);
    return node->identity;
}

std::uint32_t NodeIdentities::intern(std::string key, std::size_t hash) {
    const auto [found, inserted] =
        identities_.try_emplace(std::move(key), static_cast<std::uint32_t>(hashes_.size() + 1));
    if (inserted) {
        hashes_.push_back(hash);
    }
    return found->second;
}

} // namespace quessel::yaml
