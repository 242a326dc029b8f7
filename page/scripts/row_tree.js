// The tree the rows form: each row's depth and kind from its kind character, which rows are
// collapsed, and which rows show. The structure (subtrees and parents) is built in one pass when
// first needed; the visible rows are the identity until something is collapsed. Both pages keep
// their collapse state here, so that the cursor moves over either in the same way.
class RowTree {
    #kinds;
    #listing;
    // #subtreeEnd[r]: the first row after r's subtree; #parent[r]: the collapsible row holding
    // r, or -1. Null until built.
    #subtreeEnd = null;
    #parent = null;
    #collapsed;
    #collapsedCount = 0;
    // The visible rows in order; null while nothing is collapsed.
    #visible = null;
    // Parent -> its children in order, for the rows' places among their siblings: kept for the
    // few parents of the rows in view, so that a parent of many children is walked once.
    #children = new Map();
    static #childrenKept = 256;

    constructor(data, count) {
        this.#kinds = data.kinds;
        this.#listing = data.listing;
        this.count = count;
        this.#collapsed = data.listing ? null : new Uint8Array(count);
        this.visibleCount = count;
    }

    #kind(row) {
        return this.#kinds.charCodeAt(row) - Protocol.rowKindBase;
    }

    depth(row) {
        return this.#listing ? 0 : Math.floor(this.#kind(row) / Protocol.depthStep);
    }

    isCollapsible(row) {
        return !this.#listing &&
               this.#kind(row) % Protocol.sequenceElement === Protocol.rowClass.collapsible;
    }

    // Whether the row is an element of a sequence (its label is a dash).
    isElement(row) {
        return (this.#kind(row) & Protocol.sequenceElement) !== 0;
    }

    // The class of the row's value span.
    valueClass(row) {
        return Protocol.rowClassNames[this.#kind(row) % Protocol.sequenceElement];
    }

    isCollapsed(row) {
        return this.#collapsed !== null && this.#collapsed[row] === 1;
    }

    // The row at a position among the visible rows.
    rowAt(index) {
        return this.#visible === null ? index : this.#visible[index];
    }

    // The position of a visible row among the visible rows, or of the last visible row before a
    // hidden one.
    visibleIndexOf(row) {
        return this.#visible === null
            ? row
            : SortedArrays.lastAtMost(this.#visible, this.visibleCount, row);
    }

    // Collapses or expands a collapsible row; false when nothing changed. The visible rows
    // follow with updateVisible().
    setCollapsed(row, state) {
        if (!this.isCollapsible(row) || this.isCollapsed(row) === state) {
            return false;
        }
        this.#collapsed[row] = state ? 1 : 0;
        this.#collapsedCount += state ? 1 : -1;
        return true;
    }

    hasStructure() {
        return this.#subtreeEnd !== null;
    }

    // The collapsible row holding `row`, or -1 at the top.
    parent(row) {
        this.buildStructure();
        return this.#parent[row];
    }

    // The first row after the row's subtree.
    subtreeEnd(row) {
        this.buildStructure();
        return this.#subtreeEnd[row];
    }

    // The rows directly below `parent` (-1: the top-level rows), in order, found by skipping
    // each child's subtree.
    children(parent) {
        let list = this.#children.get(parent);
        if (list !== undefined) {
            return list;
        }
        this.buildStructure();
        const end = parent < 0 ? this.count : this.#subtreeEnd[parent];
        const ends = this.#subtreeEnd;
        let rows = new Int32Array(16);
        let n = 0;
        for (let row = parent + 1; row < end; row = ends[row]) {
            if (n === rows.length) {
                rows = SortedArrays.grown(rows);
            }
            rows[n++] = row;
        }
        list = rows.subarray(0, n);
        if (this.#children.size >= RowTree.#childrenKept) {
            this.#children.clear();
        }
        this.#children.set(parent, list);
        return list;
    }

    // The row's 1-based position among its siblings and how many they are.
    siblingPlace(row) {
        const siblings = this.children(this.parent(row));
        return {position: SortedArrays.lastAtMost(siblings, siblings.length, row) + 1,
                size: siblings.length};
    }

    // The row itself when it shows, else the outermost collapsed row holding it, which does.
    visibleAncestor(row) {
        if (this.#collapsedCount === 0) {
            return row;
        }
        let shown = row;
        for (let ancestor = this.parent(row); ancestor >= 0; ancestor = this.#parent[ancestor]) {
            if (this.#collapsed[ancestor] === 1) {
                shown = ancestor;
            }
        }
        return shown;
    }

    // Every row expanded, or collapsed from `level` on (1: only the top-level rows show); the
    // visible rows follow with updateVisible(). One pass, however many rows change.
    expandAll() {
        if (this.#collapsed !== null) {
            this.#collapsed.fill(0);
            this.#collapsedCount = 0;
        }
    }

    collapseFromLevel(level) {
        this.#setCollapsedIn(0, this.count, (row) => this.depth(row) >= level - 1);
    }

    // The row and every collapsible row below it collapsed, or expanded.
    setSubtreeCollapsed(row, state) {
        this.#setCollapsedIn(row, this.subtreeEnd(row), () => state);
    }

    #setCollapsedIn(from, to, collapsedWhen) {
        const collapsed = this.#collapsed;
        if (collapsed === null) {
            return;
        }
        let count = this.#collapsedCount;
        for (let row = from; row < to; row++) {
            if (this.isCollapsible(row)) {
                const state = collapsedWhen(row) ? 1 : 0;
                count += state - collapsed[row];
                collapsed[row] = state;
            }
        }
        this.#collapsedCount = count;
    }

    // Expands every collapsed row holding `row`; the rows expanded, innermost first.
    expandAncestors(row) {
        const expanded = [];
        if (this.#listing || this.#collapsedCount === 0) {
            return expanded;
        }
        this.buildStructure();
        for (let ancestor = this.#parent[row]; ancestor >= 0; ancestor = this.#parent[ancestor]) {
            if (this.setCollapsed(ancestor, false)) {
                expanded.push(ancestor);
            }
        }
        return expanded;
    }

    // Rebuilds the visible rows by skipping collapsed subtrees.
    updateVisible() {
        if (this.#collapsedCount === 0) {
            this.#visible = null;
            this.visibleCount = this.count;
            return;
        }
        this.buildStructure();
        const count = this.count;
        const collapsed = this.#collapsed;
        const subtreeEnd = this.#subtreeEnd;
        const list = this.#visible !== null ? this.#visible : new Int32Array(count);
        let n = 0;
        let row = 0;
        while (row < count) {
            list[n++] = row;
            row = collapsed[row] ? subtreeEnd[row] : row + 1;
        }
        this.#visible = list;
        this.visibleCount = n;
    }

    // Subtrees and parents from the depths, in one pass with a stack of open collapsible rows.
    buildStructure() {
        if (this.#subtreeEnd !== null || this.#listing) {
            return;
        }
        const count = this.count;
        const ends = new Int32Array(count);
        const parents = new Int32Array(count);
        let stack = new Int32Array(1024);
        let top = 0;
        for (let row = 0; row < count; row++) {
            const depth = this.depth(row);
            while (top > 0 && this.depth(stack[top - 1]) >= depth) {
                ends[stack[--top]] = row;
            }
            parents[row] = top > 0 ? stack[top - 1] : -1;
            ends[row] = row + 1;
            if (this.isCollapsible(row)) {
                if (top === stack.length) {
                    stack = SortedArrays.grown(stack);
                }
                stack[top++] = row;
            }
        }
        while (top > 0) {
            ends[stack[--top]] = count;
        }
        this.#subtreeEnd = ends;
        this.#parent = parents;
    }
}
