// The virtualised page's data: every row's text pieces and kinds as one compact JSON object.
#include "page/RowData.hpp"

#include "page/Decimal.hpp"
#include "page/ErrorListing.hpp"
#include "page/JsonString.hpp"
#include "page/PageProtocol.hpp"
#include "page/ScalarText.hpp"
#include "page/ShownNotes.hpp"
#include "page/TreeOrder.hpp"
#include "page/UnitCounts.hpp"
#include "yaml/Utf8.hpp"

#include <algorithm>
#include <array>
#include <bitset>
#include <optional>
#include <string_view>
#include <vector>

namespace quessel::page {
namespace {

using yaml::Mapping;
using yaml::MappingEntry;
using yaml::Sequence;
using yaml::YamlValue;

// Marker characters come from the C1 controls, then from the private use area: both are rare in
// documents, and each is one UTF-16 unit, so marker offsets in the page's string are simple.
constexpr char32_t firstControl = 0x80;
constexpr char32_t lastControl = 0x9F;
constexpr char32_t firstPrivate = 0xE000;
constexpr char32_t lastPrivate = 0xF8FF;

using Markers = std::array<char32_t, 3>; // piece end, row end, toggle glyph

// The candidate marker characters that some piece holds.
class UsedCharacters {
public:
    void note(char32_t c) {
        if (c >= firstControl && c <= lastControl) {
            used_.set(c - firstControl);
        } else if (c >= firstPrivate && c <= lastPrivate) {
            used_.set(c - firstPrivate + (lastControl - firstControl + 1));
        }
    }
    bool holds(char32_t c) const {
        if (c >= firstControl && c <= lastControl) {
            return used_.test(c - firstControl);
        }
        return used_.test(c - firstPrivate + (lastControl - firstControl + 1));
    }
    bool holdsAny(const Markers& markers) const {
        return std::any_of(markers.begin(), markers.end(), [this](char32_t c) { return holds(c); });
    }
    std::optional<Markers> freeMarkers() const {
        Markers markers{};
        std::size_t found = 0;
        for (std::size_t i = 0; i < used_.size() && found < markers.size(); ++i) {
            if (!used_.test(i)) {
                const std::size_t controls = lastControl - firstControl + 1;
                markers[found++] = static_cast<char32_t>(
                    i < controls ? firstControl + i : firstPrivate + (i - controls));
            }
        }
        return found == markers.size() ? std::optional<Markers>(markers) : std::nullopt;
    }

private:
    std::bitset<(lastControl - firstControl + 1) + (lastPrivate - firstPrivate + 1)> used_;
};

enum class Action : unsigned char {
    copy,
    possibleMarker, // lead byte of a C1 control or a private use character: copied, noted
    control,
    escape, // quote, backslash
    lessThan,
    carriageReturn,
    nul,
};

constexpr std::array<Action, 256> actions = [] {
    std::array<Action, 256> table{};
    for (int c = 0; c < 0x20; ++c) {
        table[c] = Action::control;
    }
    table['"'] = Action::escape;
    table['\\'] = Action::escape;
    table['<'] = Action::lessThan;
    table['\r'] = Action::carriageReturn;
    table[0] = Action::nul;
    table[0xC2] = Action::possibleMarker;
    table[0xEE] = Action::possibleMarker;
    table[0xEF] = Action::possibleMarker;
    return table;
}();

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

// Writes the object; one instance per attempt at a choice of markers.
class RowDataWriter {
public:
    RowDataWriter(std::string& out, const Markers& markers, UsedCharacters& used)
        : out_(out), used_(used) {
        for (std::size_t i = 0; i < markers.size(); ++i) {
            yaml::utf8::append(markers_[i], markers[i]);
        }
    }

    void write(const PageContent& content) {
        out_.push_back('{');
        openString(protocol::field::markers);
        for (const std::string& marker : markers_) {
            out_.append(marker);
        }
        out_.push_back('"');
        out_.push_back(',');
        openString(protocol::field::pieces);
        if (content.failure) {
            writeListing(content.text);
        } else if (content.documents != nullptr) {
            writeDocuments(*content.documents);
        } else {
            writeTree(*content.value);
        }
        out_.push_back('"');
        if (content.failure) {
            out_.push_back(',');
            appendName(protocol::field::listing);
            out_.append("true");
            if (content.failure->errorLine) {
                out_.push_back(',');
                appendName(protocol::field::errorLine);
                appendDecimal(out_, *content.failure->errorLine);
            }
            if (!content.failure->marks.empty()) {
                out_.push_back(',');
                appendName(protocol::field::errorMarks);
                writeErrorMarks(content.failure->marks);
            }
        } else {
            out_.push_back(',');
            openString(protocol::field::kinds);
            out_.append(kinds_);
            out_.push_back('"');
        }
        if (!layouts_.empty()) {
            out_.push_back(',');
            appendName(protocol::field::layouts);
            out_.push_back('[');
            out_.append(layouts_);
            out_.push_back(']');
        }
        if (counts_.known()) {
            out_.push_back(',');
            appendName(protocol::field::unitCounts);
            counts_.appendJson(out_);
        }
        out_.push_back('}');
    }

private:
    struct Frame {
        const Mapping* mapping = nullptr;
        const Sequence* sequence = nullptr;
        const std::vector<YamlValue>* documents = nullptr;
        std::vector<const MappingEntry*> entries; // sorted, for a mapping
        std::size_t next = 0;
        std::size_t depth = 0;
        std::size_t size() const {
            if (mapping != nullptr) {
                return entries.size();
            }
            return documents != nullptr ? documents->size() : sequence->size();
        }
    };
    // What stands before a row's value: a key and the notes on it, a dash, a document header.
    struct Label {
        const MappingEntry* entry = nullptr;
        std::optional<std::size_t> document;
    };
    static Frame frameOf(const YamlValue& value, std::size_t depth) {
        Frame frame;
        frame.depth = depth;
        if (const auto* mapping = std::get_if<Mapping>(&value.storage)) {
            frame.mapping = mapping;
            frame.entries = sortedEntries(*mapping);
        } else {
            frame.sequence = &std::get<Sequence>(value.storage);
        }
        return frame;
    }
    void writeDocuments(const std::vector<YamlValue>& documents) {
        Frame frame;
        frame.documents = &documents;
        writeRows(std::move(frame));
    }
    void writeTree(const YamlValue& root) { writeRows(frameOf(root, 0)); }
    // Depth first with an explicit stack: documents nest up to a thousand levels.
    void writeRows(Frame top) {
        std::vector<Frame> stack;
        stack.push_back(std::move(top));
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next == frame.size()) {
                stack.pop_back();
                continue;
            }
            const std::size_t index = frame.next++;
            const std::size_t depth = frame.depth;
            Label label;
            const YamlValue* value = nullptr;
            if (frame.mapping != nullptr) {
                label.entry = frame.entries[index];
                value = &frame.entries[index]->value;
            } else if (frame.documents != nullptr) {
                label.document = index;
                value = &(*frame.documents)[index];
            } else {
                value = &(*frame.sequence)[index];
            }
            if (writeRow(label, *value, depth)) {
                stack.push_back(frameOf(*value, depth + 1)); // invalidates `frame`
            }
        }
    }
    // True when the row is collapsible, so that its entries follow as rows. Rows with notes or
    // a header get a layout that says what each of their pieces is.
    bool writeRow(const Label& label, const YamlValue& value, std::size_t depth) {
        const yaml::NodeNotes* keyNotes =
            label.entry != nullptr ? label.entry->keyNotes.get() : nullptr;
        const yaml::NodeNotes* notes = value.notes.get();
        startRow(label.document.has_value() || keyNotes != nullptr || showsNotes(notes));
        if (keyNotes != nullptr && keyNotes->merged) {
            title_ = mergedKeyTitle(*keyNotes);
        }
        const std::size_t count = collapsibleCount(value);
        const unsigned element = label.entry == nullptr ? protocol::sequenceElement : 0;
        if (count != 0) {
            togglePiece();
            writeLabel(label);
            if (showsNotes(notes)) {
                plainPiece(label.entry != nullptr ? ": " : " ", protocol::layout::text);
                writeNotes(*notes);
            } else if (label.entry != nullptr) {
                plainPiece(":", protocol::layout::text);
            }
            appendDecimal(out_, count);
            counts_.addDigits(count);
            plainPiece(" items", protocol::layout::preview);
            endRow(depth, element | static_cast<unsigned>(protocol::RowClass::collapsible));
            return true;
        }
        writeLabel(label);
        plainPiece(label.entry != nullptr ? ": " : " ", protocol::layout::text);
        if (showsNotes(notes)) {
            writeNotes(*notes);
            plainPiece(" ", protocol::layout::text);
        }
        if (value.is<Mapping>() || value.is<Sequence>()) {
            plainPiece(value.is<Mapping>() ? "{}" : "[]", protocol::layout::value);
            endRow(depth, element | static_cast<unsigned>(protocol::RowClass::bracket));
            return false;
        }
        const ScalarText scalar(value);
        if (scalar.kind() == ScalarClass::string) {
            textPiece(scalar.text(), protocol::layout::value);
        } else {
            plainPiece(scalar.text(), protocol::layout::value);
        }
        endRow(depth, element | (static_cast<unsigned>(scalar.kind()) + 1));
        return false;
    }
    void writeLabel(const Label& label) {
        if (label.document) {
            plainPiece(documentLabel(*label.document), protocol::layout::document);
        } else if (label.entry == nullptr) {
            plainPiece("-", protocol::layout::dash);
        } else {
            const yaml::NodeNotes* notes = label.entry->keyNotes.get();
            if (showsNotes(notes)) {
                writeNotes(*notes);
                plainPiece(" ", protocol::layout::text);
            }
            textPiece(label.entry->key, notes != nullptr && notes->merged
                                            ? protocol::layout::mergedKey
                                            : protocol::layout::key);
        }
    }
    // The notes as pieces of their classes with a space piece between them.
    void writeNotes(const yaml::NodeNotes& notes) {
        bool first = true;
        forEachShownNote(notes, [&](NoteClass note, std::string_view text) {
            if (!first) {
                plainPiece(" ", protocol::layout::text);
            }
            first = false;
            textPiece(text, static_cast<char>(note));
        });
    }
    void startRow(bool special) {
        special_ = special;
        layout_.clear();
        title_.clear();
    }
    void endRow(std::size_t depth, unsigned kind) {
        if (special_) {
            noteLayout();
        }
        ++rows_;
        out_.append(markers_[1]);
        const std::size_t level = std::min(depth, protocol::deepestRowKindLevel);
        yaml::utf8::append(kinds_, protocol::rowKindBase +
                                       static_cast<char32_t>(level * protocol::depthStep + kind));
    }

    void writeErrorMarks(const std::vector<ErrorMark>& marks) {
        out_.push_back('[');
        for (const ErrorMark& mark : marks) {
            if (&mark != &marks.front()) {
                out_.push_back(',');
            }
            appendDecimal(out_, mark.line);
            out_.push_back(',');
            if (mark.unit) {
                appendDecimal(out_, *mark.unit);
            } else {
                out_.append("-1");
            }
        }
        out_.push_back(']');
    }

    // The lines the all-markup listing shows.
    void writeListing(std::string_view text) {
        forEachListedLine(text, [this](std::int64_t number, std::string_view line) {
            appendDecimal(out_, number);
            counts_.addDigits(static_cast<std::uint64_t>(number));
            out_.append(markers_[0]);
            if (line.empty()) {
                plainPiece(protocol::emptyLineText);
            } else {
                textPiece(line);
            }
            out_.append(markers_[1]);
        });
    }

    void appendName(std::string_view name) {
        out_.push_back('"');
        out_.append(name);
        out_.append("\":");
    }

    void openString(std::string_view name) {
        appendName(name);
        out_.push_back('"');
    }

    // Text known to need no escaping.
    void plainPiece(std::string_view text, char layout = protocol::layout::text) {
        counts_.add(text);
        out_.append(text);
        out_.append(markers_[0]);
        notePiece(layout);
    }

    // The toggle's own marker stands for its glyph.
    void togglePiece() {
        counts_.add(protocol::toggleGlyph);
        out_.append(markers_[2]);
        out_.append(markers_[0]);
        notePiece(protocol::layout::toggle);
    }

    void textPiece(std::string_view text, char layout = protocol::layout::text) {
        counts_.add(text);
        appendText(text);
        out_.append(markers_[0]);
        notePiece(layout);
    }

    void notePiece(char layout) {
        if (special_) {
            layout_.push_back(layout);
        }
    }

    // The row's entry in the layouts: its number, its pieces' layout and its key's tooltip.
    void noteLayout() {
        if (!layouts_.empty()) {
            layouts_.push_back(',');
        }
        appendDecimal(layouts_, rows_);
        layouts_.push_back(',');
        appendJsonString(layouts_, layout_);
        layouts_.push_back(',');
        appendJsonString(layouts_, title_);
    }

    // The text as a JSON string's content, made what the HTML parser makes of a text node:
    // CR LF and lone CR become LF, NUL disappears.
    void appendText(std::string_view text) {
        const char* data = text.data();
        const std::size_t size = text.size();
        std::size_t run = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const Action action = actions[static_cast<unsigned char>(data[i])];
            if (action == Action::copy) {
                continue;
            }
            if (action == Action::possibleMarker) {
                noteCharacterAt(text, i);
                continue;
            }
            out_.append(data + run, i - run);
            i = appendSpecial(text, i, action);
            run = i + 1;
        }
        out_.append(data + run, size - run);
    }

    // Returns the position of the last byte it consumed.
    std::size_t appendSpecial(std::string_view text, std::size_t i, Action action) {
        const char c = text[i];
        switch (action) {
        case Action::escape:
            out_.push_back('\\');
            out_.push_back(c);
            break;
        case Action::lessThan:
            out_.append("\\u003c"); // no "</script" or "<!--" can end or hide the data
            break;
        case Action::carriageReturn:
            if (i + 1 == text.size() || text[i + 1] != '\n') {
                out_.append("\\n");
            }
            break;
        case Action::nul:
            // In the all-markup page the NUL still stands between the bytes around it when the
            // engine decodes UTF-8, so bytes after it never complete a sequence begun before it:
            // each stray continuation byte is a replacement character of its own.
            while (i + 1 < text.size() && isContinuation(text[i + 1])) {
                out_.append("\xEF\xBF\xBD");
                ++i;
            }
            break;
        default:
            appendControl(static_cast<unsigned char>(c));
            break;
        }
        return i;
    }

    void appendControl(unsigned char c) {
        if (c == '\n') {
            out_.append("\\n");
        } else if (c == '\t') {
            out_.append("\\t");
        } else {
            static constexpr char digits[] = "0123456789abcdef";
            out_.append("\\u00");
            out_.push_back(digits[c >> 4U]);
            out_.push_back(digits[c & 0xFU]);
        }
    }

    void noteCharacterAt(std::string_view text, std::size_t i) {
        const auto byte = [&](std::size_t at) {
            return at < text.size() ? static_cast<unsigned char>(text[at]) : 0U;
        };
        if (byte(i) == 0xC2 && byte(i + 1) >= 0x80 && byte(i + 1) <= 0x9F) {
            used_.note(byte(i + 1));
        } else if (byte(i) != 0xC2 && isContinuation(static_cast<char>(byte(i + 1))) &&
                   isContinuation(static_cast<char>(byte(i + 2)))) {
            used_.note(((byte(i) & 0x0FU) << 12U) | ((byte(i + 1) & 0x3FU) << 6U) |
                       (byte(i + 2) & 0x3FU));
        }
    }

    std::string& out_;
    UsedCharacters& used_;
    std::array<std::string, 3> markers_;
    std::string kinds_;
    UnitCounts counts_;
    std::size_t rows_ = 0;
    bool special_ = false;
    std::string layout_;
    std::string title_;
    std::string layouts_;
};

} // namespace

bool hasRows(const PageContent& content) {
    if (content.failure || content.documents != nullptr) {
        return true;
    }
    return content.value != nullptr && collapsibleCount(*content.value) != 0;
}

bool appendRowData(std::string& out, const PageContent& content) {
    const std::size_t start = out.size();
    UsedCharacters used;
    // Most documents hold none of the first candidates: write once, and only when a piece
    // turned out to hold a marker, once more with markers no piece holds.
    const Markers first = {firstControl, firstControl + 1, firstControl + 2};
    RowDataWriter(out, first, used).write(content);
    if (!used.holdsAny(first)) {
        return true;
    }
    out.resize(start);
    const std::optional<Markers> free = used.freeMarkers();
    if (!free) {
        return false;
    }
    UsedCharacters again;
    RowDataWriter(out, *free, again).write(content);
    return true;
}

} // namespace quessel::page
