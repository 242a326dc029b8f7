// The coloured, collapsible tree markup of a loaded value.
#include "page/TreeRenderer.hpp"

#include "page/Decimal.hpp"
#include "page/HtmlEscape.hpp"
#include "page/NodeIdSource.hpp"
#include "page/PageProtocol.hpp"
#include "page/ScalarMarkup.hpp"
#include "page/ShownNotes.hpp"
#include "page/TreeOrder.hpp"

#include <algorithm>
#include <string_view>

namespace quessel::page {

using yaml::Mapping;
using yaml::MappingEntry;
using yaml::Sequence;
using yaml::YamlValue;

namespace {

constexpr std::ptrdiff_t pixelsPerLevel = protocol::pixelsPerLevel;

// A nested line element sits inside its parent line, whose padding already moved it right: each
// line adds one level to its parent's, so every level sits 16 px right of the one above and the
// indentation grows linearly with the depth. (Padding the whole depth on every line would add up
// along the nesting to 8·d·(d+1) px.)
std::ptrdiff_t levelPadding(std::ptrdiff_t indent) {
    return pixelsPerLevel * std::min<std::ptrdiff_t>(indent, 1);
}

// Each note as a span of its class, separated by single spaces.
void appendNoteSpans(std::string& out, const yaml::NodeNotes& notes) {
    bool first = true;
    forEachShownNote(notes, [&](NoteClass note, std::string_view text) {
        if (!first) {
            out.push_back(' ');
        }
        first = false;
        out.append(R"(<span class=")");
        out.append(noteClassName(note));
        out.append(R"(">)");
        appendEscaped(out, text);
        out.append("</span>");
    });
}

} // namespace

// What stands before an entry's value: a mapping key with the notes on it, a sequence's dash,
// or a stream's document header.
struct TreeRenderer::EntryLabel {
    enum class Kind : unsigned char { key, dash, document };
    Kind kind = Kind::dash;
    const std::string* key = nullptr;
    const yaml::NodeNotes* keyNotes = nullptr;
    std::size_t document = 0;

    static EntryLabel ofKey(const MappingEntry& entry) {
        return {Kind::key, &entry.key, entry.keyNotes.get(), 0};
    }
    static EntryLabel ofDocument(std::size_t index) {
        return {Kind::document, nullptr, nullptr, index};
    }

    bool isKey() const { return kind == Kind::key; }

    void append(std::string& out) const {
        switch (kind) {
        case Kind::dash:
            out.append(R"(<span class="bracket">-</span>)");
            return;
        case Kind::document:
            out.append(R"(<span class="document">)");
            out.append(documentLabel(document));
            out.append("</span>");
            return;
        case Kind::key:
            break;
        }
        if (showsNotes(keyNotes)) {
            appendNoteSpans(out, *keyNotes);
            out.push_back(' ');
        }
        if (keyNotes != nullptr && keyNotes->merged) {
            out.append(R"(<span class="key merged" title=")");
            appendEscaped(out, mergedKeyTitle(*keyNotes));
            out.append(R"(">)");
        } else {
            out.append(R"(<span class="key">)");
        }
        appendEscaped(out, *key);
        out.append("</span>");
    }
};

// The node id of one entry: the collection's prefix, "-" and the entry's position.
class TreeRenderer::EntryId {
public:
    EntryId(std::string_view prefix, std::size_t index) {
        text_.assign(prefix);
        text_.push_back('-');
        appendDecimal(text_, index);
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

TreeRenderer::TreeRenderer() : TreeRenderer(NodeIdSource::forThisThread()) {}

std::string TreeRenderer::renderYAML(const YamlValue& value, std::ptrdiff_t indent) {
    std::string out;
    appendYAML(out, value, indent);
    return out;
}

std::string TreeRenderer::renderMapping(const Mapping& mapping, std::ptrdiff_t indent) {
    std::string out;
    appendMapping(out, mapping, indent);
    return out;
}

std::string TreeRenderer::renderSequence(const Sequence& sequence, std::ptrdiff_t indent) {
    std::string out;
    appendSequence(out, sequence, indent);
    return out;
}

// The notes of a value that has lines of its own stand on its entry's line (see
// appendCollapsibleEntry); any other value writes them before itself.
void TreeRenderer::appendYAML(std::string& out, const YamlValue& value, std::ptrdiff_t indent) {
    if (collapsibleCount(value) == 0 && showsNotes(value.notes.get())) {
        appendNoteSpans(out, *value.notes);
        out.push_back(' ');
    }
    if (const auto* mapping = std::get_if<Mapping>(&value.storage)) {
        appendMapping(out, *mapping, indent);
    } else if (const auto* sequence = std::get_if<Sequence>(&value.storage)) {
        appendSequence(out, *sequence, indent);
    } else {
        appendScalarMarkup(out, value);
    }
}

void TreeRenderer::appendDocuments(std::string& out, const std::vector<YamlValue>& documents) {
    if (!countLines(documents.size())) {
        return;
    }
    std::string prefix;
    ids_.appendPrefix(prefix);
    for (std::size_t index = 0; index < documents.size(); ++index) {
        appendEntry(out, EntryId(prefix, index), EntryLabel::ofDocument(index), documents[index],
                    0);
        if (exceeded()) {
            return;
        }
    }
}

void TreeRenderer::appendMapping(std::string& out, const Mapping& mapping, std::ptrdiff_t indent) {
    if (mapping.empty()) {
        out.append(R"(<span class="bracket">{}</span>)");
        return;
    }
    // Before sorting: a mapping too long for the page costs nothing to give up.
    if (!countLines(mapping.size())) {
        return;
    }
    std::string prefix;
    ids_.appendPrefix(prefix);
    std::size_t index = 0;
    for (const MappingEntry* entry : sortedEntries(mapping)) {
        appendEntry(out, EntryId(prefix, index++), EntryLabel::ofKey(*entry), entry->value, indent);
        if (exceeded()) {
            return;
        }
    }
}

void TreeRenderer::appendSequence(std::string& out, const Sequence& sequence,
                                  std::ptrdiff_t indent) {
    if (sequence.empty()) {
        out.append(R"(<span class="bracket">[]</span>)");
        return;
    }
    if (!countLines(sequence.size())) {
        return;
    }
    std::string prefix;
    ids_.appendPrefix(prefix);
    for (std::size_t index = 0; index < sequence.size(); ++index) {
        appendEntry(out, EntryId(prefix, index), EntryLabel{}, sequence[index], indent);
        if (exceeded()) {
            return;
        }
    }
}

bool TreeRenderer::countLines(std::size_t count) {
    // lines_ never passes the limit, so the difference cannot wrap around.
    if (exceeded_ || count > lineLimit_ - lines_) {
        exceeded_ = true;
        return false;
    }
    lines_ += count;
    return true;
}

void TreeRenderer::appendEntry(std::string& out, const EntryId& id, const EntryLabel& label,
                               const YamlValue& value, std::ptrdiff_t indent) {
    const std::size_t count = collapsibleCount(value);
    if (count != 0) {
        appendCollapsibleEntry(out, id, label, value, count, indent);
        return;
    }
    // An inline line sits one toggle width (16 px) further right, so that keys and dashes of
    // both kinds of line align.
    out.append(R"(<div class="line" style="padding-left:)");
    appendDecimal(out, levelPadding(indent) + pixelsPerLevel);
    out.append(R"(px">)");
    label.append(out);
    out.append(label.isKey() ? ": " : " ");
    appendYAML(out, value, indent + 1);
    out.append("</div>");
}

void TreeRenderer::appendCollapsibleEntry(std::string& out, const EntryId& id,
                                          const EntryLabel& label, const YamlValue& value,
                                          std::size_t count, std::ptrdiff_t indent) {
    out.append(R"(<div class="line" style="padding-left:)");
    appendDecimal(out, levelPadding(indent));
    out.append(R"(px"><span class="toggle" id="toggle-)");
    out.append(id.text());
    out.append(R"(" onclick="toggle(')");
    out.append(id.text());
    out.append(R"lit(')">)lit");
    out.append(protocol::toggleGlyph);
    out.append("</span>");
    label.append(out);
    if (label.isKey()) {
        out.push_back(':');
    }
    if (showsNotes(value.notes.get())) {
        out.push_back(' ');
        appendNoteSpans(out, *value.notes);
    }
    out.append(R"(<span class="collapsed-preview" id="preview-)");
    out.append(id.text());
    out.append(R"(">)");
    appendDecimal(out, count);
    out.append(R"( items</span><span class="content" id="content-)");
    out.append(id.text());
    out.append(R"(">)");
    appendYAML(out, value, indent + 1);
    out.append("</span></div>");
}

} // namespace quessel::page
