// Finds an earlier, canonically equal text among the keys of a mapping or the members of a set
// that is being built.
#pragma once

#include "yaml/CanonicalText.hpp"
#include "yaml/KeyHash.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quessel::yaml {

class KeyIndex {
public:
    // The position of an earlier key canonically equal to `key`; otherwise none, and `key` is
    // recorded as standing at the next position (positions count the recorded keys).
    // `keyAt(position)` gives the text recorded at a position: the index keeps only positions
    // and hashes, so the texts may live in a container that grows and moves.
    template <typename KeyAt>
    std::optional<std::size_t> findOrAdd(std::string_view key, const KeyAt& keyAt) {
        const std::size_t hash = keyTextHash(key);
        if (const auto earlier = find(key, hash, keyAt)) {
            return earlier;
        }
        add(hash);
        return std::nullopt;
    }

    // The position of an earlier key canonically equal to `key`, recording nothing: for keys
    // known to differ from each other, of which none needs to be found again.
    template <typename KeyAt>
    std::optional<std::size_t> find(std::string_view key, const KeyAt& keyAt) const {
        if (hashes_.empty()) {
            return std::nullopt;
        }
        return find(key, keyTextHash(key), keyAt);
    }

    // Forgets every key, keeping the storage for the next mapping.
    void clear() {
        hashes_.clear();
        slots_.clear();
    }

private:
    template <typename KeyAt>
    std::optional<std::size_t> find(std::string_view key, std::size_t hash,
                                    const KeyAt& keyAt) const {
        if (slots_.empty()) {
            for (std::size_t position = 0; position < hashes_.size(); ++position) {
                if (hashes_[position] == hash && canonicallyEqual(keyAt(position), key)) {
                    return position;
                }
            }
            return std::nullopt;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
            const std::size_t position = slots_[slot] - 1;
            if (hashes_[position] == hash && canonicallyEqual(keyAt(position), key)) {
                return position;
            }
        }
        return std::nullopt;
    }
    void add(std::size_t hash);
    void insertSlot(std::size_t position);

    std::vector<std::size_t> hashes_;  // per recorded position
    std::vector<std::uint32_t> slots_; // open addressing: position + 1, 0 when free
};

} // namespace quessel::yaml
