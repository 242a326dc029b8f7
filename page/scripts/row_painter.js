// The rows in view, and a screen above and below, as absolutely placed elements taken from a
// pool: each is written anew only when its row, the search or the collapse state changed.
class RowPainter {
    #container;
    #tree;
    #geometry;
    #writer;
    #marksOf = () => null;
    #rendered = new Map(); // row -> element
    #spare = [];
    // Rows holding an end of the selection: kept out of the pool while out of sight.
    #pinned = new Set();
    // Bumped when every rendered row must be written anew.
    #generation = 0;
    // The row last revealed, and the lead its current match's piece is written with (see
    // RowWriter.write): null until the match turns out to lie past the row's right edge.
    #focusRow = -1;
    #focusLead = null;
    // The cursor's row, drawn on whichever element shows it.
    #cursor = -1;
    #frameRequested = false;
    #written = () => {};
    // The characters kept before a current match that lies past the row's right edge, and
    // none where even that is too many.
    static #nearLead = 8;

    constructor(container, tree, geometry, writer) {
        this.#container = container;
        this.#tree = tree;
        this.#geometry = geometry;
        this.#writer = writer;
    }

    // Called after a render that wrote rows.
    whenWritten(callback) {
        this.#written = callback;
    }

    // Where a rendered row's marks come from: `marksOf(row)` as RowWriter.write takes them.
    setMarks(marksOf) {
        this.#marksOf = marksOf || (() => null);
    }

    // The rendered element of a row, or null.
    element(row) {
        return this.#rendered.get(row) || null;
    }

    // The row a node of the rendered rows belongs to, as its element; null outside them.
    elementOf(node) {
        while (node && node.parentNode !== this.#container) {
            node = node.parentNode;
        }
        return node && node.row !== undefined ? node : null;
    }

    pin(rows) {
        this.#pinned = new Set(rows);
    }

    setCursor(row) {
        const previous = this.#rendered.get(this.#cursor);
        this.#cursor = row;
        if (previous) {
            TreeCursor.draw(previous, false);
        }
        const element = this.#rendered.get(row);
        if (element) {
            TreeCursor.draw(element, true);
        }
    }

    // The row's element is written anew at the next render.
    invalidate(row) {
        const element = this.#rendered.get(row);
        if (element) {
            element.filled = -1;
        }
    }

    // Every rendered row is written anew.
    refresh() {
        this.#generation++;
        this.render();
    }

    // Positions are set anew at the next render (the pitch changed).
    forgetPlaces() {
        for (const element of this.#rendered.values()) {
            element.top = null;
        }
    }

    requestRender() {
        if (!this.#frameRequested) {
            this.#frameRequested = true;
            requestAnimationFrame(() => {
                this.#frameRequested = false;
                this.render();
            });
        }
    }

    render() {
        const {first, last, shift} = this.#geometry.span();
        const tree = this.#tree;
        const wanted = new Set();
        for (let index = first; index <= last; index++) {
            wanted.add(tree.rowAt(index));
        }
        this.#retireUnwanted(wanted);
        let wrote = false;
        for (let index = first; index <= last; index++) {
            const row = tree.rowAt(index);
            let element = this.#rendered.get(row);
            if (!element) {
                element = this.#spare.pop() || document.createElement('div');
                this.#fill(element, row);
                wrote = true;
                this.#rendered.set(row, element);
                this.#container.appendChild(element);
            } else if (element.filled !== this.#generation) {
                this.#fill(element, row);
                wrote = true;
            } else {
                element.classList.remove('virtual-parked');
            }
            this.#place(element, index * this.#geometry.pitch + shift);
        }
        if (wrote) {
            this.#written();
        }
    }

    // Expands what hides the row, writes every row anew (the current mark moved, and a long
    // piece's window follows it) and brings the row into view; where its current mark would lie
    // past the row's right edge, the piece holding it is written from just before the mark.
    reveal(row) {
        if (!(row >= 0 && row < this.#tree.count)) {
            return;
        }
        const expanded = this.#tree.expandAncestors(row);
        if (expanded.length > 0) {
            this.#tree.updateVisible();
            this.#geometry.updateHeight();
        }
        this.#focusRow = row;
        this.#focusLead = null;
        this.#generation++;
        this.#geometry.bringIntoView(this.#tree.visibleIndexOf(row));
        this.render();
        for (const lead of [RowPainter.#nearLead, 0]) {
            const element = this.#rendered.get(row);
            if (!element || !RowPainter.#markPastEdge(element)) {
                break;
            }
            this.#focusLead = lead;
            this.#fill(element, row);
        }
    }

    #retireUnwanted(wanted) {
        for (const [row, element] of this.#rendered) {
            if (wanted.has(row)) {
                continue;
            }
            if (this.#pinned.has(row)) {
                // Kept for the selection it holds, out of sight: its place may be stale.
                element.classList.add('virtual-parked');
            } else {
                this.#rendered.delete(row);
                element.remove();
                this.#spare.push(element);
            }
        }
    }

    #fill(element, row) {
        this.#writer.write(element, row, this.#marksOf(row),
                           row === this.#focusRow ? this.#focusLead : null);
        element.top = null;
        element.row = row;
        element.filled = this.#generation;
        if (row === this.#cursor) {
            TreeCursor.draw(element, true);
        }
    }

    #place(element, position) {
        if (element.top !== position) {
            element.top = position;
            element.style.top = position + 'px';
        }
    }

    // Whether the row's current mark ends where the row clips its text, or past it; the row's
    // own ellipsis takes the last character before the edge.
    static #markPastEdge(element) {
        const mark = element.querySelector('mark.' + Protocol.className.current);
        if (!mark) {
            return false;
        }
        const clip = element.querySelector('.' + Protocol.className.lineContent) || element;
        const box = mark.getBoundingClientRect();
        const character = box.width / Math.max(1, mark.textContent.length);
        return box.right > clip.getBoundingClientRect().right - 2 * character;
    }
}
