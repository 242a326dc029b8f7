// Memory blocks of node trees kept between loads, so that the next load's node tree is built in
// pages that are already mapped.
#include "yaml/BlockReserve.hpp"

namespace quessel::yaml {

BlockReserve& BlockReserve::shared() {
    static BlockReserve* const reserve = new BlockReserve(64 * blockSize);
    return *reserve;
}

std::unique_ptr<std::byte[]> BlockReserve::take() {
    {
        const std::lock_guard lock(mutex_);
        if (!blocks_.empty()) {
            std::unique_ptr<std::byte[]> block = std::move(blocks_.back());
            blocks_.pop_back();
            return block;
        }
    }
    return std::make_unique_for_overwrite<std::byte[]>(blockSize);
}

void BlockReserve::give(std::unique_ptr<std::byte[]> block) {
    const std::lock_guard lock(mutex_);
    if ((blocks_.size() + 1) * blockSize <= capacity_) {
        blocks_.push_back(std::move(block));
    }
}

std::size_t BlockReserve::keptBytes() const {
    const std::lock_guard lock(mutex_);
    return blocks_.size() * blockSize;
}

} // namespace quessel::yaml
