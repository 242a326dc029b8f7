// Selecting and copying across rows that are not all elements. The engine's selection covers the
// rendered rows only: the rows holding its ends are kept rendered, and a copy takes the rows
// between them from the data, whole. Where a selected row shows a window of a long value, the
// copy holds the parts its ellipses stand for.
class RowSelection {
    #pieces;
    #container;
    #tree;
    #painter;
    #writer;

    constructor(data, container, tree, painter, writer) {
        this.#pieces = data.pieces;
        this.#container = container;
        this.#tree = tree;
        this.#painter = painter;
        this.#writer = writer;
    }

    listen() {
        document.addEventListener('selectionchange', () => this.#pinEnds());
        document.addEventListener('copy', (event) => this.#copy(event));
    }

    #pinEnds() {
        const selection = document.getSelection();
        const rows = [];
        if (selection && selection.rangeCount > 0) {
            for (const node of [selection.anchorNode, selection.focusNode]) {
                const element = this.#painter.elementOf(node);
                if (element !== null) {
                    rows.push(element.row);
                }
            }
        }
        this.#painter.pin(rows);
    }

    // An end outside the rows (a selection from the banner, or of the whole page) takes in every
    // row on that side. Within one row the engine's copy is the row's, unless it takes in a cut.
    #copy(event) {
        const selection = document.getSelection();
        if (!selection || selection.rangeCount === 0 || selection.isCollapsed) {
            return;
        }
        const range = selection.getRangeAt(0);
        if (!range.intersectsNode(this.#container) || this.#tree.visibleCount === 0) {
            return;
        }
        const firstElement = this.#painter.elementOf(range.startContainer);
        const lastElement = this.#painter.elementOf(range.endContainer);
        if (firstElement !== null && firstElement === lastElement) {
            if (range.cloneContents().querySelector('.' + RowWriter.cutClass) !== null) {
                event.clipboardData.setData('text/plain', this.#selectedText(range));
                event.preventDefault();
            }
            return;
        }
        const lines = [];
        this.#copyStart(range, firstElement, lines);
        const from = firstElement !== null ? this.#tree.visibleIndexOf(firstElement.row) + 1 : 0;
        const to = lastElement !== null ? this.#tree.visibleIndexOf(lastElement.row)
                                        : this.#tree.visibleCount;
        for (let index = from; index < to; index++) {
            lines.push(this.#writer.text(this.#tree.rowAt(index)));
        }
        this.#copyEnd(range, lastElement, lines);
        event.clipboardData.setData('text/plain', lines.join('\n'));
        event.preventDefault();
    }

    #copyStart(range, firstElement, lines) {
        const part = document.createRange();
        part.setStart(range.startContainer, range.startOffset);
        if (firstElement !== null) {
            part.setEnd(firstElement, firstElement.childNodes.length);
            lines.push(this.#selectedText(part));
        } else if (!this.#container.contains(range.startContainer)) {
            part.setEndBefore(this.#container);
            RowSelection.#pushTrimmed(lines, this.#selectedText(part));
        }
    }

    #copyEnd(range, lastElement, lines) {
        const part = document.createRange();
        if (lastElement !== null) {
            part.setStart(lastElement, 0);
            part.setEnd(range.endContainer, range.endOffset);
            lines.push(this.#selectedText(part));
        } else if (!this.#container.contains(range.endContainer)) {
            part.setStartAfter(this.#container);
            part.setEnd(range.endContainer, range.endOffset);
            RowSelection.#pushTrimmed(lines, this.#selectedText(part));
        }
    }

    static #pushTrimmed(lines, part) {
        const trimmed = part.trim();
        if (trimmed !== '') {
            lines.push(trimmed);
        }
    }

    // The part of the page in a range without what users cannot select (toggle glyph, line
    // number, a hidden preview), as the engine would copy it, and with the text that each cut in
    // it stands for.
    #selectedText(range) {
        const {className} = Protocol;
        const fragment = range.cloneContents();
        const skipped = fragment.querySelectorAll(
            `.${className.toggle}, .${className.lineNumber}, ` +
            `.${className.preview}:not(.${className.visible}), script, style, .virtual-probe`);
        for (const element of skipped) {
            element.remove();
        }
        for (const cut of fragment.querySelectorAll('.' + RowWriter.cutClass)) {
            cut.textContent = this.#pieces.substring(Number(cut.dataset.from), Number(cut.dataset.to));
        }
        return fragment.textContent;
    }
}
