// Where a row stands in the document, as the host names it: the document of a stream and the
// steps down from that document's root, a key for a mapping's entry (its text as the tree shows
// it) and an index for a sequence's element. Both pages name their rows from what the rows show,
// so that a place named on one page is found on the other and on the next page of the same file.
class CursorPath {
    #rows;

    // `rows`: the page's rows (see TreeCursor).
    constructor(rows) {
        this.#rows = rows;
    }

    // {document, steps, line} of a row.
    nodeOf(row) {
        const tree = this.#rows.tree;
        const chain = [];
        for (let at = row; at >= 0; at = tree.parent(at)) {
            chain.push(at);
        }
        chain.reverse();
        let documentIndex = null;
        if (this.#rows.isDocument(chain[0])) {
            documentIndex = tree.siblingPlace(chain.shift()).position - 1;
        }
        return {document: documentIndex, steps: chain.map((at) => this.#stepOf(at)),
                line: this.#rows.lineText(row)};
    }

    // {row, exact}: the row the node names, or the nearest one above it that still exists
    // (exact false); null when the node is no node.
    rowOf(node) {
        if (!CursorPath.#isNode(node)) {
            return null;
        }
        const tree = this.#rows.tree;
        const top = tree.children(-1);
        if (top.length === 0) {
            return null;
        }
        let row = -1;
        let exact = true;
        if (this.#rows.isDocument(top[0])) {
            const wanted = node.document === null || node.document === undefined ? 0 : node.document;
            exact = wanted < top.length;
            row = top[Math.min(wanted, top.length - 1)];
        } else if (node.document !== null && node.document !== undefined && node.document !== 0) {
            exact = false; // the document is gone: this one stands in its place
        }
        for (let i = 0; exact && i < node.steps.length; i++) {
            const child = this.#childOf(row, node.steps[i]);
            if (child < 0) {
                exact = false;
            } else {
                row = child;
            }
        }
        return {row: row >= 0 ? row : top[0], exact: exact && row >= 0};
    }

    #stepOf(row) {
        const tree = this.#rows.tree;
        return tree.isElement(row) ? {index: tree.siblingPlace(row).position - 1}
                                   : {key: this.#rows.keyText(row)};
    }

    #childOf(parent, step) {
        const tree = this.#rows.tree;
        const children = tree.children(parent);
        if (step.index !== undefined) {
            const child = step.index < children.length ? children[step.index] : -1;
            return child >= 0 && tree.isElement(child) ? child : -1;
        }
        for (const child of children) {
            if (!tree.isElement(child) && this.#rows.keyText(child) === step.key) {
                return child;
            }
        }
        return -1;
    }

    static #isNode(node) {
        const isIndex = (value) => Number.isInteger(value) && value >= 0;
        return node !== null && typeof node === 'object' && Array.isArray(node.steps) &&
               (node.document === null || node.document === undefined || isIndex(node.document)) &&
               node.steps.every((step) => step !== null && typeof step === 'object' &&
                                          (typeof step.key === 'string' || isIndex(step.index)));
    }
}
