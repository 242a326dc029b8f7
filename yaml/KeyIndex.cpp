// Finds an earlier, canonically equal text among the keys of a mapping or the members of a set
// that is being built.
#include "yaml/KeyIndex.hpp"

namespace quessel::yaml {
namespace {

// Up to this many keys a scan over the stored hashes beats maintaining a table.
constexpr std::size_t linearLimit = 16;

} // namespace

void KeyIndex::add(std::size_t hash) {
    hashes_.push_back(hash);
    if (hashes_.size() <= linearLimit) {
        return;
    }
    if (2 * hashes_.size() <= slots_.size()) {
        insertSlot(hashes_.size() - 1);
        return;
    }
    slots_.assign(slots_.empty() ? 4 * linearLimit : 2 * slots_.size(), 0);
    for (std::size_t position = 0; position < hashes_.size(); ++position) {
        insertSlot(position);
    }
}

void KeyIndex::insertSlot(std::size_t position) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hashes_[position] & mask;
    while (slots_[slot] != 0) {
        slot = (slot + 1) & mask;
    }
    slots_[slot] = static_cast<std::uint32_t>(position + 1);
}

} // namespace quessel::yaml
