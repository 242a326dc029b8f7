// The keys and clicks that move the cursor. Keys with Control, Alt or Meta are the application's
// shortcuts and pass untouched, as do keys with Shift that the cursor does not use, so that the
// engine still extends a selection with them; keys the cursor handles do nothing else (Space
// does not scroll).
const CursorKeys = (() => {
    // Key -> what it does to the cursor; true where it was handled.
    const plain = new Map([
        ['ArrowDown', (cursor) => cursor.step(1)], ['j', (cursor) => cursor.step(1)],
        ['ArrowUp', (cursor) => cursor.step(-1)], ['k', (cursor) => cursor.step(-1)],
        ['PageDown', (cursor) => cursor.page(true)], ['PageUp', (cursor) => cursor.page(false)],
        ['Home', (cursor) => cursor.first()], ['g', (cursor) => cursor.first()],
        ['End', (cursor) => cursor.last()],
        ['ArrowRight', (cursor) => cursor.right()], ['l', (cursor) => cursor.right()],
        ['ArrowLeft', (cursor) => cursor.left()], ['h', (cursor) => cursor.left()],
        [' ', (cursor) => cursor.toggle()], ['Enter', (cursor) => cursor.toggle()],
    ]);
    // Keys that are typed with Shift on some keyboards, or are meant with it.
    const shifted = new Map([
        ['G', (cursor) => cursor.last()],
        ['*', (cursor) => cursor.setSubtreeCollapsed(false)],
        ['ArrowRight', (cursor) => cursor.setSubtreeCollapsed(false)],
        ['ArrowLeft', (cursor) => cursor.setSubtreeCollapsed(true)],
    ]);
    // Keys that only move a cursor there is: without one, they pass.
    const needCursor = new Set(['ArrowRight', 'l', 'ArrowLeft', 'h', ' ', 'Enter', '*']);

    function actionOf(event) {
        if (event.ctrlKey || event.altKey || event.metaKey || event.isComposing) {
            return null;
        }
        const key = event.key;
        if (/^[1-9]$/.test(key)) {
            return (cursor) => cursor.expandToLevel(Number(key));
        }
        if (key === '*' || key === 'G' || event.shiftKey) {
            return shifted.get(key) || null;
        }
        return plain.get(key) || null;
    }

    function pressed(cursor, event) {
        const action = actionOf(event);
        if (action === null || event.defaultPrevented || cursor === null || cursor.rowCount === 0 ||
            (cursor.row < 0 && needCursor.has(event.key))) {
            return;
        }
        action(cursor);
        event.preventDefault();
    }

    // A click on a row's text, or on its toggle (which toggles it as well), and a right click
    // before the host's menu shows, put the cursor on that row. They are heard on their way
    // down, before a toggle's click writes its row anew.
    function clicked(cursor, event) {
        const row = cursor === null ? -1 : cursor.rowOf(event.target);
        if (row >= 0) {
            cursor.moveTo(row, false);
        }
    }

    return Object.freeze({
        // `cursorOf()` gives the page's cursor, made when first needed, or null where the page
        // has none.
        listen(cursorOf) {
            document.addEventListener('keydown', (event) => pressed(cursorOf(), event));
            document.addEventListener('click', (event) => clicked(cursorOf(), event), true);
            document.addEventListener('contextmenu', (event) => clicked(cursorOf(), event), true);
        },
    });
})();
