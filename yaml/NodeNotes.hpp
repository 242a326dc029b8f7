// What the source says about a node besides its value: a tag the loader gives no meaning of its
// own, an anchor, the alias that named it, and for a mapping's key whether it came in through a
// merge key.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace quessel::yaml {

struct NodeNotes {
    std::string tag;        // as written: "!Ref", "!!python/tuple", "!<tag:example.com,2000:x>"
    std::string anchor;     // the node's own anchor, without "&"
    std::string alias;      // the alias the node stands for, without "*"
    bool merged = false;    // keys: the entry came from a mapping a merge key named
    std::string mergedFrom; // keys: that mapping's anchor, when it has one
};

// Notes are rare: a value without any holds a null pointer and nothing else. Notes never change
// once made, so copies share them: a document that merges one mapping into thousands of others,
// or names one anchor thousands of times, holds its "merged from" and alias notes once, not once
// per key (each a heap block of over a hundred bytes). Safe to copy and release from any thread.
class NotesBox {
public:
    NotesBox() = default;
    explicit NotesBox(NodeNotes notes) : shared_(new Shared{{1}, std::move(notes)}) {}
    NotesBox(const NotesBox& other) noexcept : shared_(other.shared_) { retain(); }
    NotesBox(NotesBox&& other) noexcept : shared_(std::exchange(other.shared_, nullptr)) {}
    NotesBox& operator=(const NotesBox& other) noexcept {
        other.retain(); // first, so that assigning a box to itself keeps its notes
        release();
        shared_ = other.shared_;
        return *this;
    }
    NotesBox& operator=(NotesBox&& other) noexcept {
        if (this != &other) {
            release();
            shared_ = std::exchange(other.shared_, nullptr);
        }
        return *this;
    }
    ~NotesBox() { release(); }

    const NodeNotes* get() const { return shared_ != nullptr ? &shared_->notes : nullptr; }
    const NodeNotes* operator->() const { return &shared_->notes; }
    const NodeNotes& operator*() const { return shared_->notes; }
    explicit operator bool() const { return shared_ != nullptr; }

private:
    struct Shared {
        std::atomic<std::size_t> references;
        const NodeNotes notes;
    };

    void retain() const noexcept {
        if (shared_ != nullptr) {
            shared_->references.fetch_add(1, std::memory_order_relaxed);
        }
    }
    void release() noexcept {
        if (shared_ != nullptr &&
            shared_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            delete shared_;
        }
    }

    Shared* shared_ = nullptr;
};

// A resolved tag name as a document would write it: the secondary handle for the YAML tags,
// the name itself for local tags, and the verbatim form for any other.
std::string writtenTag(std::string_view name);

} // namespace quessel::yaml
