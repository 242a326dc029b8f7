// The all-markup page's lines as the cursor sees them: a RowTree made from the nested line
// elements in document order, whose collapse state the page's classes follow, and the
// attributes that tell assistive technology the tree's shape. A line holds its children, so the
// cursor is drawn on the line's own first row (see the style sheet).
class MarkupRows {
    #container;
    #lines;
    // Per row: the toggle, content and preview elements of a collapsible line, else null.
    #parts;
    tree;

    constructor(container) {
        const {className} = Protocol;
        this.#container = container;
        this.#lines = container === null ? [] : Array.from(container.querySelectorAll('.' + className.line));
        this.#parts = this.#lines.map((line) => MarkupRows.#partsOf(line));
        this.tree = new RowTree({kinds: this.#kinds(), listing: false}, this.#lines.length);
        this.#parts.forEach((parts, row) => {
            if (parts !== null && parts.content.classList.contains(className.collapsed)) {
                this.tree.setCollapsed(row, true);
            }
        });
        this.tree.updateVisible();
        if (this.#lines.length > 0) {
            this.#describe();
        }
    }

    changeCollapse(change, only) {
        change(this.tree);
        this.tree.updateVisible();
        if (only >= 0) {
            this.#showCollapse(only);
        } else {
            this.#parts.forEach((parts, row) => this.#showCollapse(row));
        }
    }

    // The line's own first row, not the subtree it holds, is what comes into view.
    show(row) {
        const line = this.#lines[row];
        (line.firstElementChild || line).scrollIntoView({block: 'nearest', inline: 'nearest'});
    }

    mark(row, previous) {
        if (previous >= 0) {
            TreeCursor.draw(this.#lines[previous], false);
        }
        TreeCursor.draw(this.#lines[row], true);
        this.#container.setAttribute('aria-activedescendant', this.#lines[row].id);
    }

    keyText(row) {
        const key = this.#lines[row].querySelector(':scope > .' + Protocol.className.key);
        return key === null ? null : key.textContent;
    }

    isDocument(row) {
        return this.#lines[row].querySelector(':scope > .' + Protocol.className.document) !== null;
    }

    // The line's own text as the virtualised page's rows give it: no toggle glyph, no children,
    // the preview only while it shows, after a space.
    lineText(row) {
        const {className} = Protocol;
        let text = '';
        for (const node of this.#lines[row].childNodes) {
            const classes = node.nodeType === Node.ELEMENT_NODE ? node.classList : null;
            if (classes === null || node.tagName === 'MARK') {
                text += node.textContent;
            } else if (classes.contains(className.preview)) {
                text += classes.contains(className.visible) ? ' ' + node.textContent : '';
            } else if (!classes.contains(className.toggle) && !classes.contains(className.content)) {
                text += node.textContent;
            }
        }
        return text;
    }

    // The last visible row starting at or above the viewport's top, found by halving: the
    // visible rows stand in order down the page.
    topRow() {
        const tree = this.tree;
        let low = 0;
        let high = tree.visibleCount - 1;
        while (low < high) {
            const middle = Math.ceil((low + high) / 2);
            if (this.#topOf(tree.rowAt(middle)) <= 0) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        const row = tree.rowAt(low);
        return {row, offset: -this.#topOf(row)};
    }

    scrollToTop(row, offset) {
        window.scrollTo(window.scrollX, window.scrollY + this.#topOf(row) + offset);
    }

    // A line's own row is its top: the lines it holds come below. (Its first child may be a
    // toggle, turned while collapsed.)
    #topOf(row) {
        return this.#lines[row].getBoundingClientRect().top;
    }

    rowOf(node) {
        const element = node instanceof Element ? node : node && node.parentElement;
        const line = element ? element.closest('.' + Protocol.className.line) : null;
        return line !== null && line.row !== undefined ? line.row : -1;
    }

    static #partsOf(line) {
        const {className, idPrefix} = Protocol;
        const toggle = line.querySelector(':scope > .' + className.toggle);
        if (toggle === null) {
            return null;
        }
        const id = toggle.id.substring(idPrefix.toggle.length);
        return {toggle, content: document.getElementById(idPrefix.content + id),
                preview: document.getElementById(idPrefix.preview + id)};
    }

    // One kind character per line, as the virtualised page's data has them: the depth from the
    // enclosing line, whether the line is a sequence's element, whether it is collapsible.
    #kinds() {
        const {className, rowKindBase, depthStep, sequenceElement, rowClass} = Protocol;
        const depths = new Int32Array(this.#lines.length);
        const codes = this.#lines.map((line, row) => {
            line.row = row;
            const outer = line.parentElement.closest('.' + className.line);
            depths[row] = outer === null ? 0 : depths[outer.row] + 1;
            const labelled = line.querySelector(`:scope > .${className.key}, :scope > .${className.document}`);
            return rowKindBase + depths[row] * depthStep + (labelled === null ? sequenceElement : 0) +
                   (this.#parts[row] !== null ? rowClass.collapsible : rowClass.string);
        });
        let kinds = '';
        for (let at = 0; at < codes.length; at += 8192) {
            kinds += String.fromCharCode(...codes.slice(at, at + 8192));
        }
        return kinds;
    }

    // Roles, levels, places among siblings and ids, written once: the tree's shape never
    // changes on a page.
    #describe() {
        const tree = this.tree;
        this.#container.setAttribute('role', 'tree');
        this.#container.tabIndex = 0;
        this.#lines.forEach((line, row) => {
            line.id = TreeCursor.rowId(row);
            line.setAttribute('role', 'treeitem');
            line.setAttribute('aria-level', String(tree.depth(row) + 1));
        });
        for (let parent = -1; parent < this.#lines.length; parent++) {
            if (parent >= 0 && !tree.isCollapsible(parent)) {
                continue;
            }
            const children = tree.children(parent);
            children.forEach((child, position) => {
                this.#lines[child].setAttribute('aria-posinset', String(position + 1));
                this.#lines[child].setAttribute('aria-setsize', String(children.length));
            });
        }
        this.#parts.forEach((parts, row) => this.#showCollapse(row));
    }

    #showCollapse(row) {
        const parts = this.#parts[row];
        if (parts === null) {
            return;
        }
        const {className} = Protocol;
        const collapsed = this.tree.isCollapsed(row);
        parts.content.classList.toggle(className.collapsed, collapsed);
        parts.toggle.classList.toggle(className.collapsed, collapsed);
        if (parts.preview) {
            parts.preview.classList.toggle(className.visible, collapsed);
        }
        this.#lines[row].setAttribute('aria-expanded', collapsed ? 'false' : 'true');
    }
}
