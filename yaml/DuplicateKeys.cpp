// The duplicate-key check of composition: a mapping whose keys repeat (as nodes: same kind,
// canonically equal text or equal children, same resolved tag) is refused with a report.
#include "yaml/DuplicateKeys.hpp"

#include "yaml/CanonicalText.hpp"
#include "yaml/Constructor.hpp"
#include "yaml/KeyHash.hpp"
#include "yaml/NodeArena.hpp"
#include "yaml/ValueText.hpp"
#include "yaml/YamlError.hpp"

#include <algorithm>
#include <bit>

namespace quessel::yaml {
namespace {

// Up to this many keys, comparing stored hashes pairwise is cheaper than a table.
constexpr std::size_t pairwiseLimit = 8;

Mark occurrenceMark(const Node& key) {
    if (const auto alias = key.aliasMark()) {
        // Where the key stands, rather than where the node it repeats was anchored.
        return *alias;
    }
    return key.mark().value_or(Mark{});
}

} // namespace

std::uint8_t DuplicateKeys::check(std::span<const NodePair> pairs, std::string_view yaml) {
    std::uint8_t flags = describe(pairs);
    repeated_ = false;
    if (pairs.size() <= pairwiseLimit) {
        for (std::size_t later = 1; later < pairs.size(); ++later) {
            for (std::size_t earlier = 0; earlier < later; ++earlier) {
                if (compare(pairs.data(), earlier, later, flags)) {
                    break;
                }
            }
        }
    } else {
        slots_.assign(std::bit_ceil(2 * pairs.size()), 0);
        for (std::size_t index = 0; index < pairs.size(); ++index) {
            if (!findEarlier(pairs.data(), index, flags)) {
                const std::size_t mask = slots_.size() - 1;
                std::size_t slot = keys_[index].hash & mask;
                while (slots_[slot] != 0) {
                    slot = (slot + 1) & mask;
                }
                slots_[slot] = static_cast<std::uint32_t>(index + 1);
            }
        }
    }
    if (repeated_) {
        report(pairs, yaml);
    }
    return flags;
}

// Hashes the keys: scalars by canonical text alone (so that equal texts
// under different tags meet and can be flagged), collections by structure.
std::uint8_t DuplicateKeys::describe(std::span<const NodePair> pairs) {
    std::uint8_t flags = 0;
    keys_.resize(pairs.size());
    for (std::size_t index = 0; index < pairs.size(); ++index) {
        const Node& key = pairs[index].key;
        const std::uint32_t tag = detail::tagIfMergeOrValue(*key.data());
        if (tag == detail::mergeTag || tag == detail::valueTag) {
            flags |= detail::mergesKeys;
        }
        if (key.kind() == Node::Kind::scalar) {
            keys_[index] = {keyTextHash(key.string()), static_cast<std::uint32_t>(index)};
        } else {
            flags |= detail::keysMayRepeat;
            keys_[index] = {key.hash(), static_cast<std::uint32_t>(index)};
        }
    }
    return flags;
}

// Whether the later key repeats the earlier one; records it in the earlier one's group.
bool DuplicateKeys::compare(const NodePair* pairs, std::size_t earlier, std::size_t later,
                            std::uint8_t& flags) {
    if (keys_[earlier].hash != keys_[later].hash) {
        return false;
    }
    const Node& a = pairs[earlier].key;
    const Node& b = pairs[later].key;
    if (a.kind() != b.kind()) {
        return false;
    }
    if (a.kind() == Node::Kind::scalar) {
        if (!canonicallyEqual(a.string(), b.string())) {
            return false;
        }
        if (detail::resolveTag(*a.data()) != detail::resolveTag(*b.data())) {
            flags |= detail::keysMayRepeat;
            return false;
        }
    } else if (!(a == b)) {
        return false;
    }
    keys_[later].group = keys_[earlier].group;
    repeated_ = true;
    return true;
}

bool DuplicateKeys::findEarlier(const NodePair* pairs, std::size_t index, std::uint8_t& flags) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = keys_[index].hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        if (compare(pairs, slots_[slot] - 1, index, flags)) {
            return true;
        }
    }
    return false;
}

void DuplicateKeys::report(std::span<const NodePair> pairs, std::string_view yaml) const {
    struct Group {
        Node key;
        std::vector<Mark> marks;
    };
    std::vector<Group> groups;
    std::vector<std::size_t> groupAt(pairs.size(), SIZE_MAX);
    for (std::size_t index = 0; index < pairs.size(); ++index) {
        const std::uint32_t first = keys_[index].group;
        if (groupAt[first] == SIZE_MAX) {
            groupAt[first] = groups.size();
            groups.push_back({pairs[first].key, {}});
        }
        groups[groupAt[first]].marks.push_back(occurrenceMark(pairs[index].key));
    }
    std::erase_if(groups, [](const Group& group) { return group.marks.size() < 2; });
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.key < b.key; });
    std::vector<YamlError::DuplicatedKey> duplicates;
    duplicates.reserve(groups.size());
    for (Group& group : groups) {
        const YamlValue value = group.key.tag().constructor().any(group.key);
        duplicates.push_back({displayText(value), std::move(group.marks)});
    }
    throw YamlError::duplicatedKeysInMapping(std::move(duplicates), yaml);
}

} // namespace quessel::yaml
