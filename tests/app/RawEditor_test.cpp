// The editor's copy of its text follows every edit, multi-byte characters and undo included.
#include "app/RawEditor.hpp"

#include <gtest/gtest.h>

#include <random>

namespace quessel::app {
namespace {

std::string bufferText(RawEditor& editor) {
    return editor.textView().get_buffer()->get_text();
}

// A cursor never stands between the two halves of a CRLF line break; neither do these edits.
int outsideCrlf(const Glib::RefPtr<Gtk::TextBuffer>& buffer, int offset) {
    auto at = buffer->get_iter_at_offset(offset);
    auto before = at;
    if (at.get_char() == '\n' && before.backward_char() && before.get_char() == '\r') {
        return offset + 1;
    }
    return offset;
}

TEST(RawEditor, FollowsRandomEditsAcrossMultiByteText) {
    std::vector<std::string> pushed;
    RawEditor editor([&](std::string text) { pushed.push_back(std::move(text)); });
    editor.syncTo("ascii start\nname: café ✓\r\nend 𝄞\n", false);
    EXPECT_TRUE(pushed.empty()) << "a text from the model must not echo back";
    auto buffer = editor.textView().get_buffer();
    std::mt19937 random(7);
    const char* pieces[] = {"x", "é", "✓", "𝄞", "\n", "\r\n", "key: value\n", "ß"};
    for (int step = 0; step < 400; ++step) {
        const int count = buffer->get_char_count();
        const int at =
            outsideCrlf(buffer, count == 0 ? 0 : static_cast<int>(random() % (count + 1)));
        if (random() % 3 == 0 && count > 0) {
            const int length = 1 + static_cast<int>(random() % 4);
            const int end = outsideCrlf(buffer, std::min(count, at + length));
            buffer->erase(buffer->get_iter_at_offset(at), buffer->get_iter_at_offset(end));
        } else {
            buffer->insert(buffer->get_iter_at_offset(at), pieces[random() % 8]);
        }
        ASSERT_EQ(editor.text(), bufferText(editor)) << "after step " << step;
    }
    ASSERT_FALSE(pushed.empty());
    EXPECT_EQ(pushed.back(), bufferText(editor));
    for (int undo = 0; undo < 50 && buffer->get_can_undo(); ++undo) {
        buffer->undo();
        ASSERT_EQ(editor.text(), bufferText(editor)) << "after undo " << undo;
    }
    EXPECT_EQ(pushed.back(), editor.text());
}

TEST(RawEditor, LeavesAnEqualTextAloneAndReplacesAnotherWithoutEcho) {
    int pushes = 0;
    RawEditor editor([&](std::string) { ++pushes; });
    editor.syncTo("a: 1\n", false);
    auto buffer = editor.textView().get_buffer();
    buffer->place_cursor(buffer->end());
    buffer->insert_at_cursor("b: 2\n");
    EXPECT_EQ(pushes, 1);
    editor.syncTo("a: 1\nb: 2\n", false);
    EXPECT_EQ(buffer->get_insert()->get_iter().get_offset(), 10);
    EXPECT_TRUE(buffer->get_can_undo());
    editor.syncTo("other: text\n", false);
    EXPECT_EQ(bufferText(editor), "other: text\n");
    EXPECT_EQ(pushes, 1);
    EXPECT_FALSE(buffer->get_can_undo()) << "undo must not bring back another document";
}

} // namespace
} // namespace quessel::app
