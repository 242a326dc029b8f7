// The plain-text editor over the raw document, bound both ways to the document text.
#pragma once

#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace quessel::app {

// Keeps a byte-for-byte copy of the buffer up to date from the buffer's insertions and
// deletions, so an edit hands the model its text without walking the whole buffer: reading a
// 5 MB buffer out of GTK takes tens of milliseconds, a keystroke has less than one frame.
class RawEditor : public Gtk::ScrolledWindow {
public:
    // `pushText` receives the whole text after every edit (the write half of the binding).
    explicit RawEditor(std::function<void(std::string)> pushText);

    // The read half: brings the buffer to `text`. A buffer that already holds it is left alone,
    // so the cursor, the selection and the undo history survive a refresh. `knownEqual` skips
    // the comparison when the caller knows the text came from this editor.
    void syncTo(const std::string& text, bool knownEqual);

    // Puts the text cursor at a 1-based line and column (in characters), clamped to the text,
    // and scrolls that line into view.
    void placeCursor(std::int64_t line, std::int64_t column);

    const std::string& text() const noexcept { return text_; }
    Gtk::TextView& textView() noexcept { return view_; }

private:
    void inserted(const Gtk::TextBuffer::iterator& at, const Glib::ustring& text, int bytes);
    void deleting(const Gtk::TextBuffer::iterator& start, const Gtk::TextBuffer::iterator& end);
    std::size_t byteOffset(const Gtk::TextBuffer::iterator& at);
    void setAnchor(const Gtk::TextBuffer::iterator& at, std::size_t byte);
    void edited();

    std::function<void(std::string)> pushText_;
    Gtk::TextView view_;
    std::string text_;
    // Bytes of text_ outside ASCII; while there are none, character and byte offsets agree.
    std::size_t nonAsciiBytes_ = 0;
    // A character offset and the byte offset it stands at, both in text_: where the last edit
    // happened, the starting point for finding the next one's bytes.
    std::size_t anchorCharacter_ = 0;
    std::size_t anchorByte_ = 0;
    sigc::connection insertTracker_;
    sigc::connection deleteTracker_;
    sigc::connection changed_;
};

} // namespace quessel::app
