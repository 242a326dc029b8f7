// Writes one row element from the data: the same elements, classes and text the all-markup page
// has for that line, the search's marks in it, and its whole text as its tooltip where the row
// cannot show it all.
const RowElements = Object.freeze({
    span(className, content) {
        const element = document.createElement('span');
        element.className = className;
        element.textContent = content;
        return element;
    },
});

class RowWriter {
    // Pieces longer than this are written as a window of this many characters, with an
    // ellipsis at each end where the window cuts the piece.
    static #pieceWindow = 4000;
    // How many characters a window keeps before the current match it holds.
    static defaultLead = 40;
    static cutClass = Protocol.className.cut;
    // A row whose text is longer than this shows its whole text as its tooltip, up to a length
    // the tooltip can still lay out without stalling the window.
    static #titleLength = 60;
    static #titleLimit = 200000;

    #data;
    #index;
    #tree;

    constructor(data, index, tree) {
        this.#data = data;
        this.#index = index;
        this.#tree = tree;
    }

    // Fills `element` with the row anew; `marks` are the row's matches, [start, end, isCurrent]
    // in offsets of the pieces, ascending, or null. With a `lead`, the piece holding the current
    // match starts that many characters before it even where the piece is not long, so that a
    // match beyond the row's right edge comes into view with the row's key.
    write(element, row, marks, lead = null) {
        // Emptied completely: a recycled row keeps nothing of the row it showed before.
        element.textContent = '';
        element.removeAttribute('title');
        for (const attribute of ['aria-expanded', 'aria-selected', 'aria-posinset', 'aria-setsize',
                                 'id', 'style']) {
            element.removeAttribute(attribute);
        }
        const bounds = this.#index.pieceBounds(row);
        const current = marks === null ? null : marks.find((mark) => mark[2]) || null;
        const focus = {current, lead};
        if (this.#data.listing) {
            this.#writeListingLine(element, row, bounds, marks, focus);
        } else {
            this.#writeTreeRow(element, row, bounds, marks, focus);
        }
        this.#writeTitle(element, row, bounds);
    }

    // The row's text as a reader sees it, for the tooltip and for copying: no toggle glyph, no
    // line number, the preview only while it shows.
    text(row, bounds = this.#index.pieceBounds(row)) {
        const pieces = this.#data.pieces;
        const listing = this.#data.listing;
        const parts = [];
        for (let i = 0; i < bounds.length; i += 2) {
            let piece = pieces.substring(bounds[i], bounds[i + 1]);
            if (piece === this.#data.marker.toggle || (listing && i === 0)) {
                continue;
            }
            if (!listing && this.#tree.isCollapsible(row) && i === bounds.length - 2) {
                if (!this.#tree.isCollapsed(row)) {
                    continue;
                }
                piece = ' ' + piece;
            }
            parts.push(piece);
        }
        const joined = parts.join('');
        return listing && joined === Protocol.glyph.emptyLine ? '' : joined;
    }

    #writeTreeRow(element, row, bounds, marks, focus) {
        const {className, idPrefix, pixelsPerLevel} = Protocol;
        const tree = this.#tree;
        const depth = tree.depth(row);
        const collapsible = tree.isCollapsible(row);
        element.className = className.line;
        element.setAttribute('role', 'treeitem');
        element.setAttribute('aria-level', String(depth + 1));
        element.id = TreeCursor.rowId(row);
        // Places among siblings wait for the tree's structure, which is built after the first
        // paint; the rows are written anew then.
        if (tree.hasStructure()) {
            const place = tree.siblingPlace(row);
            element.setAttribute('aria-posinset', String(place.position));
            element.setAttribute('aria-setsize', String(place.size));
        }
        element.style.setProperty('--indent', (pixelsPerLevel * (depth + (collapsible ? 0 : 1))) + 'px');
        let piece = 0;
        const next = (pieceClass) => {
            const target = pieceClass === null ? element : RowElements.span(pieceClass, '');
            this.#writePiece(target, bounds[2 * piece], bounds[2 * piece + 1], marks, focus);
            piece++;
            if (target !== element) {
                element.appendChild(target);
            }
            return target;
        };
        const layout = this.#data.layouts.get(row);
        if (layout !== undefined) {
            this.#writeLaidOutRow(element, row, layout, next);
            return;
        }
        const labelClass = tree.isElement(row) ? className.bracket : className.key;
        if (!collapsible) {
            next(labelClass);
            next(null); // ": " or " "
            next(tree.valueClass(row));
            return;
        }
        const collapsed = tree.isCollapsed(row);
        element.setAttribute('aria-expanded', collapsed ? 'false' : 'true');
        const toggle = next(className.toggle);
        toggle.id = idPrefix.toggle + row;
        toggle.classList.toggle(className.collapsed, collapsed);
        next(labelClass);
        if (bounds.length === 8) {
            next(null); // the colon after a key
        }
        const preview = next(className.preview);
        preview.id = idPrefix.preview + row;
        preview.classList.toggle(className.visible, collapsed);
    }

    // A row with notes or a document header: its layout says what each piece is.
    #writeLaidOutRow(element, row, layout, next) {
        const {className, layout: code, idPrefix} = Protocol;
        const tree = this.#tree;
        const collapsed = tree.isCollapsed(row);
        for (const piece of layout.pieces) {
            switch (piece) {
            case code.toggle: {
                element.setAttribute('aria-expanded', collapsed ? 'false' : 'true');
                const toggle = next(className.toggle);
                toggle.id = idPrefix.toggle + row;
                toggle.classList.toggle(className.collapsed, collapsed);
                break;
            }
            case code.preview: {
                const preview = next(className.preview);
                preview.id = idPrefix.preview + row;
                preview.classList.toggle(className.visible, collapsed);
                break;
            }
            case code.mergedKey: {
                const key = next(className.key + ' ' + className.merged);
                if (layout.title !== '') {
                    key.title = layout.title;
                }
                break;
            }
            case code.text:
                next(null);
                break;
            default:
                next(RowWriter.#layoutClass(piece, tree.valueClass(row)));
            }
        }
    }

    static #layoutClass(piece, valueClass) {
        const {className, layout: code} = Protocol;
        switch (piece) {
        case code.key: return className.key;
        case code.dash: return className.bracket;
        case code.document: return className.document;
        case code.tag: return className.tag;
        case code.anchor: return className.anchor;
        case code.alias: return className.alias;
        default: return valueClass;
        }
    }

    #writeListingLine(element, row, bounds, marks, focus) {
        const {className} = Protocol;
        const errors = this.#data.errorMarks.get(row + 1);
        element.className = row + 1 === this.#data.errorLine || errors !== undefined
            ? className.rawLine + ' ' + className.errorLine : className.rawLine;
        element.setAttribute('role', 'listitem');
        const number = RowElements.span(className.lineNumber, '');
        this.#writePiece(number, bounds[0], bounds[1], marks, focus);
        const content = RowElements.span(className.lineContent, '');
        if (errors !== undefined) {
            content.classList.toggle(className.errorEnd, errors.atEnd);
            if (errors.units.length > 0) {
                content.setAttribute(Protocol.errorColumns.attribute, errors.units.join(' '));
            }
        }
        this.#writePiece(content, bounds[2], bounds[3], marks, focus);
        element.append(number, content);
    }

    #writeTitle(element, row, bounds) {
        let longest = 0;
        for (let i = 0; i < bounds.length; i += 2) {
            longest = Math.max(longest, bounds[i + 1] - bounds[i]);
        }
        const pieces = this.#data.pieces;
        const multiline =
            pieces.substring(bounds[0], bounds[bounds.length - 1]).indexOf('\n') !== -1;
        if (longest <= RowWriter.#titleLength && !multiline) {
            return;
        }
        let whole = this.text(row, bounds);
        if (whole.length > RowWriter.#titleLimit) {
            whole = whole.substring(0, RowWriter.#titleLimit) + '\u2026';
        }
        if (whole !== '') {
            element.title = whole;
        }
    }

    // Writes pieces[start, end) into `target`, with marks: whole, or as a window where the piece
    // is long or must bring its current mark forward (see write).
    #writePiece(target, start, end, marks, focus) {
        const [from, to] = RowWriter.#window(start, end, focus);
        if (from > start) {
            target.appendChild(RowWriter.#cut(start, from));
        }
        let position = from;
        for (let i = 0; marks !== null && i < marks.length; i++) {
            const markStart = Math.max(marks[i][0], from);
            const markEnd = Math.min(marks[i][1], to);
            if (markStart >= markEnd) {
                continue;
            }
            if (markStart > position) {
                this.#appendText(target, position, markStart);
            }
            const mark = document.createElement('mark');
            mark.className = marks[i][2] ? Protocol.className.highlight + ' ' +
                                           Protocol.className.current
                                         : Protocol.className.highlight;
            this.#appendText(mark, markStart, markEnd);
            target.appendChild(mark);
            position = markEnd;
        }
        if (position < to) {
            this.#appendText(target, position, to);
        }
        if (to < end) {
            target.appendChild(RowWriter.#cut(to, end));
        }
    }

    // [from, to) of the piece [start, end) to write.
    static #window(start, end, {current, lead}) {
        const holdsCurrent = current !== null && current[0] >= start && current[0] < end;
        const long = end - start > RowWriter.#pieceWindow;
        if (!long && !(holdsCurrent && lead !== null)) {
            return [start, end];
        }
        const before = lead !== null ? lead : RowWriter.defaultLead;
        const from = holdsCurrent ? Math.max(start, current[0] - before) : start;
        return [from, long ? Math.min(end, from + RowWriter.#pieceWindow) : end];
    }

    // Where a window cuts its piece: an ellipsis, which names the part it stands for, so that a
    // copy can put that part back. It is not the document's text, and no search counts it.
    static #cut(from, to) {
        const cut = RowElements.span(RowWriter.cutClass, '\u2026');
        cut.dataset.from = from;
        cut.dataset.to = to;
        return cut;
    }

    #appendText(target, start, end) {
        let content = this.#data.pieces.substring(start, end);
        if (content === this.#data.marker.toggle) {
            content = Protocol.glyph.toggle;
        } else if (this.#data.listing) {
            content = content.replace(/\n/g, ' '); // a lone CR in a line keeps it one line
        }
        target.appendChild(document.createTextNode(content));
    }
}
