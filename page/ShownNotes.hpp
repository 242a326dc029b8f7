// The notes the tree shows beside a value or a key, in the order it shows them, and the text and
// class of each; one definition for both pages.
#pragma once

#include "yaml/NodeNotes.hpp"

#include <string>
#include <string_view>

namespace quessel::page {

enum class NoteClass : char { tag = 't', anchor = 'a', alias = 'l' };

std::string_view noteClassName(NoteClass note);

// Calls `note(NoteClass, text)` for each note shown: the alias a value stands for, or else the
// node's anchor and then its tag, each as the source writes it ("*base", "&base", "!Ref").
template <typename NoteFunction>
void forEachShownNote(const yaml::NodeNotes& notes, NoteFunction note) {
    if (!notes.alias.empty()) {
        note(NoteClass::alias, "*" + notes.alias);
        return;
    }
    if (!notes.anchor.empty()) {
        note(NoteClass::anchor, "&" + notes.anchor);
    }
    if (!notes.tag.empty()) {
        note(NoteClass::tag, std::string_view(notes.tag));
    }
}

// Whether any note shows for these notes (a merged key's mark is not a note of its own).
bool showsNotes(const yaml::NodeNotes* notes);

// The tooltip of a key that came in through a merge key: which mapping it came from.
std::string mergedKeyTitle(const yaml::NodeNotes& notes);

// What a multi-document stream's header line says for the document at 0-based `index`.
std::string documentLabel(std::size_t index);

} // namespace quessel::page
