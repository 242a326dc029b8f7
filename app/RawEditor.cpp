// The plain-text editor over the raw document, bound both ways to the document text.
#include "app/RawEditor.hpp"

#include <algorithm>
#include <cstring>

namespace quessel::app {
namespace {

std::size_t countNonAscii(const char* bytes, std::size_t size) {
    return static_cast<std::size_t>(std::count_if(
        bytes, bytes + size, [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

} // namespace

RawEditor::RawEditor(std::function<void(std::string)> pushText) : pushText_(std::move(pushText)) {
    view_.set_monospace(true);
    view_.set_wrap_mode(Gtk::WrapMode::NONE);
    view_.set_left_margin(8);
    view_.set_right_margin(8);
    view_.set_top_margin(6);
    view_.set_bottom_margin(6);
    auto buffer = view_.get_buffer();
    buffer->set_enable_undo(true);
    // Before the buffer's own handlers, while the iterators still say where the edit happens.
    insertTracker_ = buffer->signal_insert().connect(
        [this](const Gtk::TextBuffer::iterator& at, const Glib::ustring& text, int bytes) {
            inserted(at, text, bytes);
        },
        false);
    deleteTracker_ = buffer->signal_erase().connect(
        [this](const Gtk::TextBuffer::iterator& start, const Gtk::TextBuffer::iterator& end) {
            deleting(start, end);
        },
        false);
    changed_ = buffer->signal_changed().connect([this] { edited(); });
    set_child(view_);
    set_hexpand(true);
    set_vexpand(true);
}

std::size_t RawEditor::byteOffset(const Gtk::TextBuffer::iterator& at) {
    const auto characters = static_cast<std::size_t>(at.get_offset());
    if (nonAsciiBytes_ == 0) {
        return characters;
    }
    // Walk from the last edit, which is usually a character or two away, not from the start.
    const char* anchor = text_.data() + anchorByte_;
    const auto distance = static_cast<glong>(characters) - static_cast<glong>(anchorCharacter_);
    const char* position = g_utf8_offset_to_pointer(anchor, distance);
    return std::min(static_cast<std::size_t>(position - text_.data()), text_.size());
}

void RawEditor::setAnchor(const Gtk::TextBuffer::iterator& at, std::size_t byte) {
    anchorCharacter_ = static_cast<std::size_t>(at.get_offset());
    anchorByte_ = byte;
}

void RawEditor::inserted(const Gtk::TextBuffer::iterator& at, const Glib::ustring& text,
                         int bytes) {
    const std::size_t offset = byteOffset(at);
    text_.insert(offset, text.data(), static_cast<std::size_t>(bytes));
    setAnchor(at, offset);
    nonAsciiBytes_ += countNonAscii(text.data(), static_cast<std::size_t>(bytes));
}

void RawEditor::deleting(const Gtk::TextBuffer::iterator& start,
                         const Gtk::TextBuffer::iterator& end) {
    const std::size_t from = byteOffset(start);
    const std::size_t to = std::max(from, byteOffset(end));
    nonAsciiBytes_ -= countNonAscii(text_.data() + from, to - from);
    text_.erase(from, to - from);
    setAnchor(start, from);
}

void RawEditor::edited() {
    if (pushText_) {
        pushText_(text_);
    }
}

void RawEditor::syncTo(const std::string& text, bool knownEqual) {
    if (knownEqual || text_ == text) {
        return;
    }
    // A text from elsewhere (another file, a close) replaces the buffer without echoing back,
    // and is not something to undo into.
    auto buffer = view_.get_buffer();
    insertTracker_.block();
    deleteTracker_.block();
    changed_.block();
    buffer->begin_irreversible_action();
    buffer->set_text(text);
    buffer->end_irreversible_action();
    changed_.unblock();
    deleteTracker_.unblock();
    insertTracker_.unblock();
    text_ = text;
    nonAsciiBytes_ = countNonAscii(text_.data(), text_.size());
    anchorCharacter_ = 0;
    anchorByte_ = 0;
    buffer->place_cursor(buffer->begin());
}

void RawEditor::placeCursor(std::int64_t line, std::int64_t column) {
    auto buffer = view_.get_buffer();
    const int lines = buffer->get_line_count();
    const int row = static_cast<int>(std::clamp<std::int64_t>(line, 1, lines)) - 1;
    auto at = buffer->get_iter_at_line(row);
    // Forward along the line only: a column past its end stays at the end of the line.
    if (!at.ends_line()) {
        const auto end = [&] {
            auto lineEnd = at;
            lineEnd.forward_to_line_end();
            return lineEnd;
        }();
        const std::int64_t available = end.get_line_offset() - at.get_line_offset();
        at.forward_chars(static_cast<int>(std::clamp<std::int64_t>(column - 1, 0, available)));
    }
    buffer->place_cursor(at);
    // Scrolling to the mark (not the iterator) waits for the lines to be measured, which a text
    // just synced into the buffer has not been yet.
    view_.scroll_to(buffer->get_insert(), 0.0, 0.0, 0.3);
}

} // namespace quessel::app
