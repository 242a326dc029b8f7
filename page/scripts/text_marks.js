// How both pages mark one text node of the body, so that their counts and cuts are one
// algorithm: the virtualised page marks the body outside its rows with it, and replays it on the
// rows whose lower-casing is not one to one.

// Replaces one text node by its pieces: the text between matches stays text, each match
// becomes a mark. After each match the rest is lower-cased and searched anew, so the cuts
// follow the lower-cased text piece by piece.
function markTextNode(node, needle, marks) {
    var rest = node.nodeValue;
    var position = rest.toLowerCase().indexOf(needle);
    if (position === -1) {
        return;
    }
    var pieces = document.createDocumentFragment();
    while (position !== -1) {
        if (position > 0) {
            pieces.appendChild(document.createTextNode(rest.substring(0, position)));
        }
        var mark = document.createElement('mark');
        mark.className = 'highlight';
        mark.textContent = rest.substring(position, position + needle.length);
        pieces.appendChild(mark);
        marks.push(mark);
        rest = rest.substring(position + needle.length);
        position = rest.toLowerCase().indexOf(needle);
    }
    if (rest.length > 0) {
        pieces.appendChild(document.createTextNode(rest));
    }
    node.parentNode.replaceChild(pieces, node);
}

// Scripts and style sheets hold no document text; marks are already cut.
function isSearchedElement(node) {
    return node.nodeType === Node.ELEMENT_NODE && node.tagName !== 'SCRIPT' &&
           node.tagName !== 'STYLE' && node.tagName !== 'MARK';
}
