// The notes the tree shows beside a value or a key.
#include "page/ShownNotes.hpp"

#include "page/Decimal.hpp"
#include "page/PageProtocol.hpp"

namespace quessel::page {

std::string_view noteClassName(NoteClass note) {
    switch (note) {
    case NoteClass::tag:
        return protocol::className::tag;
    case NoteClass::anchor:
        return protocol::className::anchor;
    case NoteClass::alias:
        break;
    }
    return protocol::className::alias;
}

bool showsNotes(const yaml::NodeNotes* notes) {
    return notes != nullptr &&
           (!notes->alias.empty() || !notes->anchor.empty() || !notes->tag.empty());
}

std::string mergedKeyTitle(const yaml::NodeNotes& notes) {
    return notes.mergedFrom.empty() ? "Merged" : "Merged from &" + notes.mergedFrom;
}

std::string documentLabel(std::size_t index) {
    std::string label = "Document ";
    appendDecimal(label, index + 1);
    return label;
}

} // namespace quessel::page
