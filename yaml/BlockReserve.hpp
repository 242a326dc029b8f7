// Memory blocks of node trees kept between loads, so that the next load's node tree is built in
// pages that are already mapped.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace quessel::yaml {

// A node tree is built, read once and released within one load: for a document of megabytes
// that is tens of megabytes of fresh memory each time, and the allocator hands the freed blocks
// back to the system, so every load pays a page fault for each 4 KiB it writes (which on a
// virtual machine can cost as much as the whole composition). Blocks of `blockSize` given back
// are kept up to `capacity` bytes and handed out again. Safe to use from any thread.
class BlockReserve {
public:
    static constexpr std::size_t blockSize = std::size_t{1} << 20;

    explicit BlockReserve(std::size_t capacity) : capacity_(capacity) {}

    // The reserve of every load in the process: 64 MiB, what a document of about 15 MB needs.
    // Never destroyed, since a load may still run on a worker thread while the process ends.
    static BlockReserve& shared();

    // A block of blockSize bytes: one kept, or a new one.
    std::unique_ptr<std::byte[]> take();
    // Keeps the block (of blockSize bytes) while there is room, frees it otherwise.
    void give(std::unique_ptr<std::byte[]> block);

    std::size_t keptBytes() const;

private:
    std::size_t capacity_;
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
};

} // namespace quessel::yaml
