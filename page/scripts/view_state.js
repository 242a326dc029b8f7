// The reader's view of a tree page, which the host keeps across a new page of the same file (the
// file changed on disk, or was edited): which rows are collapsed and which row is at the
// viewport's top. Rows are named by their nodes' paths, as CursorPath names them, so that a page
// made from a changed file finds them again. A path is an array: the document (null outside a
// stream), then a key (a string) or an index (a number) per step. The state, plain JSON:
//   {collapsed, except: [path, …], top: {path, offset} | null}
// `collapsed` is what most collapsible rows are and `except` names the others, so that the list
// stays short after Collapse All as after Expand All; `offset` is how many pixels of the top row
// are scrolled past. Both directions take one pass over the rows: a path is never looked up
// among its siblings, which would be quadratic for a list of many paths.
class ViewState {
    #rows;
    #cursor;
    #path;

    // `rows`: the page's rows (see TreeCursor); `cursor`: their cursor.
    constructor(rows, cursor) {
        this.#rows = rows;
        this.#cursor = cursor;
        this.#path = new CursorPath(rows);
    }

    // The state, or null where there are no rows.
    capture() {
        const tree = this.#rows.tree;
        if (tree.count === 0) {
            return null;
        }
        const collapsed = this.#mostlyCollapsed();
        const except = [];
        this.#walk((row, depth, pathTo) => {
            if (tree.isCollapsed(row) !== collapsed) {
                const path = pathTo(depth);
                if (path !== null) {
                    except.push(path);
                }
            }
        });
        return {collapsed, except, top: this.#captureTop()};
    }

    // Applies a state captured on a page of the same file; anything else is ignored.
    restore(state) {
        if (this.#rows.tree.count === 0 || !ViewState.#isState(state)) {
            return;
        }
        this.#cursor.changeCollapse((tree) => this.#applyCollapse(tree, state));
        if (state.top !== null && state.top !== undefined) {
            this.#restoreTop(state.top);
        }
    }

    #mostlyCollapsed() {
        const tree = this.#rows.tree;
        let collapsible = 0;
        let collapsed = 0;
        for (let row = 0; row < tree.count; row++) {
            if (tree.isCollapsible(row)) {
                collapsible++;
                collapsed += tree.isCollapsed(row) ? 1 : 0;
            }
        }
        return collapsed * 2 > collapsible;
    }

    // The named rows take the state that is not the default. The saved paths form a tree of
    // steps, walked alongside the rows: a row is named when its parent's place in that tree goes
    // on by the row's step, so only the children of places that go on need their steps read.
    #applyCollapse(tree, state) {
        const root = ViewState.#stepTree(state.except);
        const reached = [this.#rows.isDocument(0) ? root
                                                   : (root.next && root.next.get(0)) || null];
        this.#walk((row, depth, pathTo, stepAt) => {
            const above = reached[depth - 1];
            const place = above === null || above.next === null
                ? null : above.next.get(stepAt(depth)) || null;
            reached[depth] = place;
            tree.setCollapsed(row, place !== null && place.named ? !state.collapsed
                                                               : state.collapsed);
        });
    }

    #captureTop() {
        const {row, offset} = this.#rows.topRow();
        const node = this.#path.nodeOf(row);
        if (node.steps.some((step) => step.index === undefined && typeof step.key !== 'string')) {
            return null; // a key the page cannot name
        }
        const steps = node.steps.map((step) => (step.index !== undefined ? step.index : step.key));
        return {path: [node.document, ...steps], offset};
    }

    // The row back at the top, or the nearest one above it that is still there (or shows), at
    // the top with nothing of it scrolled past.
    #restoreTop(top) {
        const steps = top.path.slice(1).map(
            (step) => (typeof step === 'string' ? {key: step} : {index: step}));
        const found = this.#path.rowOf({document: top.path[0], steps});
        if (found === null) {
            return;
        }
        const row = this.#rows.tree.visibleAncestor(found.row);
        this.#rows.scrollToTop(row, found.exact && row === found.row
            ? top.offset : Math.min(0, top.offset));
    }

    // Calls visit(row, depth, pathTo, stepAt) for every collapsible row, in document order. The
    // chain of collapsible rows open above the row, the row last, is numbered by depth from the
    // page's root (0); stepAt(d) names the chain's row at d among its siblings (a stream's
    // documents by their index) and pathTo(d) gives the path of that row, or null where a step
    // has no name. Steps are read only when asked for: reading a key costs far more than the
    // walk. The chain follows the rows' depths, as RowTree finds parents, and lives in typed
    // arrays: the walk takes millions of rows.
    #walk(visit) {
        const rows = this.#rows;
        const tree = rows.tree;
        const stream = rows.isDocument(0);
        let chain = new Int32Array(64).fill(-1);
        let depths = new Int32Array(64);
        let places = new Int32Array(64);
        let seen = new Int32Array(64);
        const steps = [null];
        const stepAt = (depth) => {
            if (steps[depth] === undefined) {
                const row = chain[depth];
                steps[depth] = (stream && depth === 1) || tree.isElement(row)
                    ? places[depth] : rows.keyText(row);
            }
            return steps[depth];
        };
        const pathTo = (depth) => {
            const path = [null];
            for (let at = 1; at <= depth; at++) {
                const step = stepAt(at);
                if (step === null) {
                    return null;
                }
                path.push(step);
            }
            return stream ? path.slice(1) : path;
        };
        let top = 0;
        for (let row = 0; row < tree.count; row++) {
            const depth = tree.depth(row);
            while (top > 0 && depths[top] >= depth) {
                top--;
            }
            const place = seen[top]++;
            if (tree.isCollapsible(row)) {
                if (++top === chain.length) {
                    [chain, depths, places, seen] =
                        [chain, depths, places, seen].map((array) => SortedArrays.grown(array));
                }
                chain[top] = row;
                depths[top] = depth;
                places[top] = place;
                seen[top] = 0;
                steps[top] = undefined;
                visit(row, top, pathTo, stepAt);
            }
        }
    }

    // The paths as a tree of steps from the root: {named, next: step -> place, or null at the
    // ends, which most places are}. Keys are strings and indexes numbers, so one map tells them
    // apart; the document comes first, null standing for the only one.
    static #stepTree(paths) {
        const root = {named: false, next: null};
        for (const path of paths) {
            let place = root;
            path.forEach((step, at) => {
                const name = at === 0 && step === null ? 0 : step;
                place.next = place.next || new Map();
                if (!place.next.has(name)) {
                    place.next.set(name, {named: false, next: null});
                }
                place = place.next.get(name);
            });
            place.named = true;
        }
        return root;
    }

    static #isIndex(value) {
        return Number.isInteger(value) && value >= 0;
    }

    static #isPath(path) {
        return Array.isArray(path) && path.length > 0 &&
               (path[0] === null || ViewState.#isIndex(path[0])) &&
               path.every((step, at) => at === 0 || typeof step === 'string' ||
                                        ViewState.#isIndex(step));
    }

    static #isState(state) {
        if (state === null || typeof state !== 'object' || typeof state.collapsed !== 'boolean' ||
            !Array.isArray(state.except) || !state.except.every(ViewState.#isPath)) {
            return false;
        }
        const top = state.top;
        return top === null || top === undefined ||
               (typeof top === 'object' && ViewState.#isPath(top.path) &&
                Number.isFinite(top.offset));
    }

    // Publishes the host's functions. `withViewState(call)` gives call(viewState) now, or runs
    // it once the page has its rows and gives undefined; a page without rows runs nothing.
    static publish(withViewState) {
        window.viewState = () => withViewState((view) => view.capture()) || null;
        window.restoreViewState = (state) => {
            withViewState((view) => view.restore(state));
        };
    }
}
