// The virtualised page's rows as the cursor sees them (see TreeCursor): the tree's collapse state
// shown by keeping the row at the viewport's top in place and painting anew, the cursor drawn by
// the painter on whichever element shows its row, the rows' texts read from the data.
class VirtualRows {
    #data;
    #container;
    #index;
    #geometry;
    #writer;
    #painter;
    tree;

    constructor({data, container, index, tree, geometry, writer, painter}) {
        this.#data = data;
        this.#container = container;
        this.#index = index;
        this.tree = tree;
        this.#geometry = geometry;
        this.#writer = writer;
        this.#painter = painter;
    }

    changeCollapse(change, only) {
        const {tree} = this;
        const geometry = this.#geometry;
        const painter = this.#painter;
        tree.buildStructure();
        const anchor = geometry.topAnchor();
        change(tree);
        tree.updateVisible();
        geometry.keepAnchor(anchor);
        if (only >= 0) {
            painter.invalidate(only);
            painter.render();
        } else {
            painter.refresh();
        }
    }

    show(row) {
        this.#geometry.keepInView(this.tree.visibleIndexOf(row));
        this.#painter.render();
    }

    mark(row) {
        this.#painter.setCursor(row);
        this.#container.setAttribute('aria-activedescendant', TreeCursor.rowId(row));
    }

    // The key piece: the second of a collapsible row (after the toggle), else the first, unless
    // the row's layout names it.
    keyText(row) {
        const layout = this.#data.layouts.get(row);
        let piece;
        if (layout !== undefined) {
            const {key, mergedKey} = Protocol.layout;
            piece = Array.from(layout.pieces).findIndex((code) => code === key || code === mergedKey);
        } else {
            piece = this.tree.isElement(row) ? -1 : this.tree.isCollapsible(row) ? 1 : 0;
        }
        const bounds = piece < 0 ? null : this.#index.pieceAt(row, piece);
        return bounds === null ? null : this.#data.pieces.substring(bounds[0], bounds[1]);
    }

    isDocument(row) {
        const layout = this.#data.layouts.get(row);
        return layout !== undefined && layout.pieces.indexOf(Protocol.layout.document) !== -1;
    }

    lineText(row) {
        return this.#writer.text(row);
    }

    topRow() {
        const anchor = this.#geometry.topAnchor();
        return {row: anchor.row,
                offset: anchor.before < 0 ? anchor.before : anchor.fraction * this.#geometry.pitch};
    }

    scrollToTop(row, offset) {
        const geometry = this.#geometry;
        geometry.scrollToVirtual(this.tree.visibleIndexOf(row) * geometry.pitch + offset);
        this.#painter.render();
    }

    rowOf(node) {
        const element = this.#painter.elementOf(node);
        return element === null ? -1 : element.row;
    }
}
