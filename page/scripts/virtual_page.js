// The virtualised page put together: once its data has arrived, the rows' index, tree, geometry,
// painter, selection, search and cursor are made and wired to the page's events. The page's
// functions exist from the start; searches and cursor calls asked before the data has arrived
// are answered once it has.
const VirtualPage = (() => {
    const {id, className, idPrefix} = Protocol;
    // Rows indexed per slice of background work after the first paint.
    const indexSliceRows = 200000;

    let view = null;
    // Search calls waiting for the data; null once it has arrived.
    let waitingCalls = [];
    // Cursor and view state calls waiting for the data, which no search replaces.
    let waitingCursorCalls = [];

    function assemble(data) {
        const container = document.getElementById(id.rows);
        container.setAttribute('role', data.listing ? 'list' : 'tree');
        if (data.listing) {
            container.classList.add(className.rawContent, 'virtual-listing');
        }
        const index = new RowIndex(data);
        const tree = new RowTree(data, index.count);
        const geometry = new ScrollGeometry(container, tree, data.listing);
        const writer = new RowWriter(data, index, tree);
        const painter = new RowPainter(container, tree, geometry, writer);
        if (data.errorMarks.size > 0) {
            painter.whenWritten(() => ErrorColumns.refresh(container));
        }
        const rowSearch = new RowSearch(data, index);
        // A listing has no cursor: it is text, not a tree.
        const rows = data.listing
            ? null : new VirtualRows({data, container, index, tree, geometry, writer, painter});
        const cursor = rows === null ? null : new TreeCursor(rows);
        const viewState = rows === null ? null : new ViewState(rows, cursor);
        const shown = cursor === null ? () => {} : (row) => cursor.moveTo(row, false);
        const search =
            new MatchSearch(new VirtualMatches(container, index, painter, rowSearch, shown));
        const selection = new RowSelection(data, container, tree, painter, writer);
        return {data, container, index, tree, geometry, writer, painter, rowSearch, search,
                selection, rows, cursor, viewState};
    }

    // Collapses or expands a row by its number, keeping the row at the viewport's top in place.
    function toggle(rowId) {
        const row = /^[0-9]+$/.test(String(rowId)) ? Number(rowId) : -1;
        if (view !== null && view.cursor !== null) {
            view.cursor.toggleRow(row);
        }
    }

    function listen({container, geometry, painter, selection}) {
        container.addEventListener('click', (event) => {
            const target = event.target instanceof Element
                ? event.target.closest('.' + className.toggle) : null;
            if (target && container.contains(target) && target.id.startsWith(idPrefix.toggle)) {
                toggle(target.id.substring(idPrefix.toggle.length));
            }
        });
        window.addEventListener('scroll', () => painter.requestRender(), {passive: true});
        window.addEventListener('resize', () => painter.requestRender());
        geometry.observePitch((changed) => {
            if (changed) {
                painter.forgetPlaces();
            }
            painter.render();
        });
        selection.listen();
    }

    // Runs `step` in tasks of its own after the first paint until it says it is done, so that
    // scrolling and clicks stay answered meanwhile.
    function inBackground(step) {
        const run = () => {
            if (step()) {
                setTimeout(run, 0);
            }
        };
        requestAnimationFrame(() => setTimeout(run, 0));
    }

    function arrived(data) {
        view = assemble(data);
        listen(view);
        const {index, tree, painter} = view;
        if (data.listing && data.errorLine >= 1 && data.errorLine <= index.count) {
            painter.reveal(data.errorLine - 1);
        } else {
            painter.render();
        }
        // The index and the tree's structure are finished in slices, so that the first rows show
        // as early as they can and collapsing later does not pay for them.
        inBackground(() => {
            if (index.indexSlice(indexSliceRows)) {
                return true;
            }
            tree.buildStructure();
            painter.refresh(); // the rows' places among their siblings are known now
            return false;
        });
        const calls = waitingCalls.concat(waitingCursorCalls);
        waitingCalls = null;
        waitingCursorCalls = null;
        calls.forEach((call) => call());
    }

    // Runs call(view[part]) now, or once the data has arrived, in the order asked; a listing
    // has no cursor nor view state to call.
    function withPart(part, call) {
        if (waitingCursorCalls !== null) {
            waitingCursorCalls.push(() => withPart(part, call));
            return undefined;
        }
        return view[part] === null ? undefined : call(view[part]);
    }

    // A new search replaces the calls waiting before it, as it would have done.
    function whenSearchable(call, replacesWaiting) {
        if (waitingCalls === null) {
            call();
            return;
        }
        if (replacesWaiting) {
            waitingCalls = [];
        }
        waitingCalls.push(call);
    }

    return Object.freeze({
        start() {
            window.toggle = toggle;
            window.highlightMatches = (searchText, current) =>
                whenSearchable(() => view.search.highlight(searchText, current), true);
            window.navigateMatch = (forward) =>
                whenSearchable(() => view.search.navigate(forward), false);
            TreeCursor.publish((call) => withPart('cursor', call));
            ViewState.publish((call) => withPart('viewState', call));
            CursorKeys.listen(() => (view === null ? null : view.cursor));
            PageData.load(arrived);
        },

        // The page's parts once its data has arrived, null before: for the page's tests.
        view: () => view,
    });
})();

VirtualPage.start();
