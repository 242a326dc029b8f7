// How both pages mark search matches in the body's text: the all-markup page in all of it, the
// virtualised page around its rows. One algorithm, so that their counts and cuts cannot drift.
const BodyMarks = (() => {
    const {className} = Protocol;

    // Replaces one text node by its pieces: the text between matches stays text, each match
    // becomes a mark. After each match the rest is lower-cased and searched anew, so the cuts
    // follow the lower-cased text piece by piece.
    function markTextNode(node, needle, marks) {
        let rest = node.nodeValue;
        let position = rest.toLowerCase().indexOf(needle);
        if (position === -1) {
            return;
        }
        const pieces = document.createDocumentFragment();
        while (position !== -1) {
            if (position > 0) {
                pieces.appendChild(document.createTextNode(rest.substring(0, position)));
            }
            const mark = document.createElement('mark');
            mark.className = className.highlight;
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
    function isSearched(node) {
        return node.nodeType === Node.ELEMENT_NODE && node.tagName !== 'SCRIPT' &&
               node.tagName !== 'STYLE' && node.tagName !== 'MARK';
    }

    return Object.freeze({
        // Marks every match of the lower-cased `needle` in the text under `root`, depth first in
        // document order, with an explicit stack: deeply nested documents must not exhaust the
        // script engine's call stack. Children are taken before any of them is split. The text
        // of `skipped` is not searched; `before` counts the marks in front of it.
        mark(root, needle, skipped = null) {
            const marks = [];
            let before = -1;
            const pending = [root];
            while (pending.length > 0) {
                const node = pending.pop();
                if (node === skipped) {
                    before = marks.length;
                } else if (node.nodeType === Node.TEXT_NODE) {
                    markTextNode(node, needle, marks);
                } else if (isSearched(node)) {
                    const children = node.childNodes;
                    for (let i = children.length - 1; i >= 0; i--) {
                        pending.push(children[i]);
                    }
                }
            }
            return {marks, before: before === -1 ? marks.length : before};
        },

        // Takes marks out again, their text back in place, and joins the text they had cut.
        unmark(marks) {
            for (const mark of marks) {
                const parent = mark.parentNode;
                if (!parent) {
                    continue;
                }
                while (mark.firstChild) {
                    parent.insertBefore(mark.firstChild, mark);
                }
                parent.removeChild(mark);
            }
            document.body.normalize();
        },
    });
})();
