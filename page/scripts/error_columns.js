// The characters a failure names in the listing, marked by a highlight over the text rather than
// by elements of their own: the text nodes stay whole, so the search finds what it found before.
const ErrorColumns = (() => {
    const {errorColumns, className} = Protocol;

    // Where `unit` UTF-16 units into the element's text stand: a text node and an offset in it.
    // A cut stands for the part of the text it hides.
    function positionOf(element, unit) {
        let counted = 0;
        const pending = [element];
        while (pending.length > 0) {
            const node = pending.pop();
            if (node.nodeType === Node.TEXT_NODE) {
                if (unit < counted + node.length) {
                    return {node, offset: unit - counted};
                }
                counted += node.length;
            } else if (node.nodeType === Node.ELEMENT_NODE && node.classList.contains(className.cut)) {
                counted += Number(node.dataset.to) - Number(node.dataset.from);
                if (unit < counted) {
                    return null; // hidden by the cut
                }
            } else {
                for (let i = node.childNodes.length - 1; i >= 0; i--) {
                    pending.push(node.childNodes[i]);
                }
            }
        }
        return null;
    }

    function rangeAt(element, unit) {
        const position = positionOf(element, unit);
        if (position === null) {
            return null;
        }
        const {node, offset} = position;
        const code = node.data.charCodeAt(offset);
        const pair = code >= 0xD800 && code <= 0xDBFF && offset + 1 < node.length;
        const range = document.createRange();
        range.setStart(node, offset);
        range.setEnd(node, offset + (pair ? 2 : 1));
        return range;
    }

    return Object.freeze({
        // Marks the named characters of every listing line under `root` anew: after the lines
        // were written, and after the search split their text.
        refresh(root) {
            if (typeof Highlight === 'undefined' || !window.CSS || !CSS.highlights) {
                return;
            }
            const ranges = [];
            for (const element of root.querySelectorAll('.' + className.lineContent + '[' +
                                                        errorColumns.attribute + ']')) {
                for (const unit of element.getAttribute(errorColumns.attribute).split(' ')) {
                    const range = rangeAt(element, Number(unit));
                    if (range !== null) {
                        ranges.push(range);
                    }
                }
            }
            if (ranges.length === 0) {
                CSS.highlights.delete(errorColumns.highlight);
            } else {
                CSS.highlights.set(errorColumns.highlight, new Highlight(...ranges));
            }
        },
    });
})();
