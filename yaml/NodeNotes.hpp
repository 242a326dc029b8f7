// What the source says about a node besides its value: a tag the loader gives no meaning of its
// own, an anchor, the alias that named it, and for a mapping's key whether it came in through a
// merge key.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quessel::yaml {

struct NodeNotes {
    std::string tag;        // as written: "!Ref", "!!python/tuple", "!<tag:example.com,2000:x>"
    std::string anchor;     // the node's own anchor, without "&"
    std::string alias;      // the alias the node stands for, without "*"
    bool merged = false;    // keys: the entry came from a mapping a merge key named
    std::string mergedFrom; // keys: that mapping's anchor, when it has one
};

// Notes are rare: a value without any holds a null pointer and nothing else. Copies copy the
// notes, so that values keep their value semantics.
class NotesBox {
public:
    NotesBox() = default;
    explicit NotesBox(NodeNotes notes) : notes_(std::make_unique<NodeNotes>(std::move(notes))) {}
    NotesBox(const NotesBox& other)
        : notes_(other.notes_ ? std::make_unique<NodeNotes>(*other.notes_) : nullptr) {}
    NotesBox(NotesBox&&) noexcept = default;
    NotesBox& operator=(const NotesBox& other) {
        if (this != &other) {
            notes_ = other.notes_ ? std::make_unique<NodeNotes>(*other.notes_) : nullptr;
        }
        return *this;
    }
    NotesBox& operator=(NotesBox&&) noexcept = default;
    ~NotesBox() = default;

    const NodeNotes* get() const { return notes_.get(); }
    const NodeNotes* operator->() const { return notes_.get(); }
    const NodeNotes& operator*() const { return *notes_; }
    explicit operator bool() const { return notes_ != nullptr; }

private:
    std::unique_ptr<NodeNotes> notes_;
};

// A resolved tag name as a document would write it: the secondary handle for the YAML tags,
// the name itself for local tags, and the verbatim form for any other.
std::string writtenTag(std::string_view name);

} // namespace quessel::yaml
