// The keyboard cursor of a tree page: at most one row, moved by keys, clicks and the search,
// drawn and announced by the page, and reported to the host whenever it lands on another row.
// What a page kind does differently is its `rows`:
//   tree                      the RowTree of the page's rows, holding their collapse state;
//   changeCollapse(change, only)
//                             runs change(tree) and shows the result (`only`: the one row
//                             changed, or -1 for any number of them);
//   show(row)                 brings a visible row into view, painted;
//   mark(row, previous)       draws the cursor on the row instead of on `previous` (or -1);
//   keyText(row), isDocument(row), lineText(row)
//                             a mapping entry's key as shown, whether the row is a stream's
//                             document header, the row's text as shown;
//   rowOf(node)               the row a node of the page is in, or -1;
//   topRow(), scrollToTop(row, offset)
//                             {row, offset}: the visible row at the viewport's top and the
//                             pixels of it scrolled past; that row put back there so.
class TreeCursor {
    static #rowIdPrefix = 'row-';

    #rows;
    #path;
    #row = -1;
    #reported = -1;

    constructor(rows) {
        this.#rows = rows;
        this.#path = new CursorPath(rows);
    }

    // Draws the cursor on a row's element, or takes it away, for eyes and for assistive
    // technology alike.
    static draw(element, drawn) {
        element.classList.toggle('cursor', drawn);
        if (drawn) {
            element.setAttribute('aria-selected', 'true');
        } else {
            element.removeAttribute('aria-selected');
        }
    }

    // The element id a row's element has, for aria-activedescendant.
    static rowId(row) {
        return TreeCursor.#rowIdPrefix + row;
    }

    get row() {
        return this.#row;
    }

    get rowCount() {
        return this.#rows.tree.count;
    }

    // The row a node of the page is in, or -1.
    rowOf(node) {
        return this.#rows.rowOf(node);
    }

    // Puts the cursor on a row; `scroll` false where whoever chose the row showed it already.
    moveTo(row, scroll = true) {
        if (!(row >= 0 && row < this.#rows.tree.count)) {
            return;
        }
        const previous = this.#row;
        this.#row = row;
        this.#rows.mark(row, previous);
        if (scroll) {
            this.#rows.show(row);
        }
        this.#report();
    }

    // Moves by `by` visible rows, stopping at the ends; without a cursor, forward moves start at
    // the first row and backward ones at the last.
    step(by) {
        const tree = this.#rows.tree;
        if (tree.visibleCount === 0) {
            return;
        }
        if (this.#row < 0) {
            this.moveTo(tree.rowAt(by > 0 ? 0 : tree.visibleCount - 1));
            return;
        }
        const index = tree.visibleIndexOf(this.#row) + by;
        this.moveTo(tree.rowAt(Math.max(0, Math.min(index, tree.visibleCount - 1))));
    }

    first() {
        if (this.#rows.tree.visibleCount > 0) {
            this.moveTo(this.#rows.tree.rowAt(0));
        }
    }

    last() {
        const tree = this.#rows.tree;
        if (tree.visibleCount > 0) {
            this.moveTo(tree.rowAt(tree.visibleCount - 1));
        }
    }

    // A screen of rows, less one, so that the row moved from stays in sight.
    page(forward) {
        const height = parseFloat(getComputedStyle(document.body).lineHeight) || 18;
        const rows = Math.max(1, Math.floor(window.innerHeight / height) - 1);
        this.step(forward ? rows : -rows);
    }

    // A collapsed node opens; an open one hands the cursor to its first child.
    right() {
        const row = this.#row;
        const tree = this.#rows.tree;
        if (row < 0 || !tree.isCollapsible(row)) {
            return;
        }
        if (tree.isCollapsed(row)) {
            this.toggleRow(row);
        } else {
            this.moveTo(row + 1);
        }
    }

    // An open node closes; anything else hands the cursor to its parent.
    left() {
        const row = this.#row;
        const tree = this.#rows.tree;
        if (row < 0) {
            return;
        }
        if (tree.isCollapsible(row) && !tree.isCollapsed(row)) {
            this.toggleRow(row);
        } else if (tree.parent(row) >= 0) {
            this.moveTo(tree.parent(row));
        }
    }

    toggle() {
        if (this.#row >= 0) {
            this.toggleRow(this.#row);
        }
    }

    // Collapses or expands one row, as a click on its toggle does.
    toggleRow(row) {
        const tree = this.#rows.tree;
        if (row >= 0 && row < tree.count && tree.isCollapsible(row)) {
            this.#change((rows) => rows.setCollapsed(row, !rows.isCollapsed(row)), row, false);
        }
    }

    setSubtreeCollapsed(state) {
        const row = this.#row;
        if (row >= 0 && this.#rows.tree.isCollapsible(row)) {
            this.#change((tree) => tree.setSubtreeCollapsed(row, state), -1, true);
        }
    }

    expandAll() {
        this.#change((tree) => tree.expandAll(), -1, true);
    }

    // The document opened `level` levels deep: rows of a lesser depth show.
    expandToLevel(level) {
        const levels = Math.floor(Number(level));
        if (levels >= 1) {
            this.#change((tree) => tree.collapseFromLevel(levels), -1, true);
        }
    }

    // {document, steps, line} of the cursor's row, or null.
    node() {
        return this.#row < 0 ? null : this.#path.nodeOf(this.#row);
    }

    // Opens the way to the node and puts the cursor there, or on the nearest row above it that
    // still exists; true when the node itself was found.
    place(node) {
        const found = this.#rows.tree.count > 0 ? this.#path.rowOf(node) : null;
        if (found === null) {
            return false;
        }
        this.#change((tree) => tree.expandAncestors(found.row), -1, false);
        this.moveTo(found.row);
        return found.exact;
    }

    // Collapses and expands rows as `change(tree)` decides, where no one row is acted on (a view
    // restored): nothing scrolls, but a cursor hidden by it moves as after any collapse.
    changeCollapse(change) {
        this.#change(change, -1, false);
    }

    // After rows were collapsed: a cursor hidden inside one moves to the row that shows in its
    // place.
    follow(scroll) {
        if (this.#row < 0) {
            return;
        }
        const shown = this.#rows.tree.visibleAncestor(this.#row);
        if (shown !== this.#row) {
            this.moveTo(shown);
        } else if (scroll) {
            this.#rows.show(shown);
        }
    }

    #change(change, only, scroll) {
        this.#rows.changeCollapse(change, only);
        this.follow(scroll);
    }

    // Once per row the cursor lands on. A page opened elsewhere has no host to tell.
    #report() {
        if (this.#row === this.#reported) {
            return;
        }
        this.#reported = this.#row;
        const handlers = window.webkit && window.webkit.messageHandlers;
        if (handlers && handlers.cursorChanged) {
            handlers.cursorChanged.postMessage(this.node());
        }
    }

    // Publishes the host's functions. `withCursor(call)` gives call(cursor) now, or runs it once
    // the page has its rows and gives undefined; a page without rows runs nothing.
    static publish(withCursor) {
        window.cursorNode = () => withCursor((cursor) => cursor.node()) || null;
        window.placeCursor = (node) => withCursor((cursor) => cursor.place(node)) === true;
        window.expandAll = () => {
            withCursor((cursor) => cursor.expandAll());
        };
        window.collapseAll = () => {
            withCursor((cursor) => cursor.expandToLevel(1));
        };
        window.expandToLevel = (level) => {
            withCursor((cursor) => cursor.expandToLevel(level));
        };
        window.expandSubtree = () => {
            withCursor((cursor) => cursor.setSubtreeCollapsed(false));
        };
        window.collapseSubtree = () => {
            withCursor((cursor) => cursor.setSubtreeCollapsed(true));
        };
    }
}
