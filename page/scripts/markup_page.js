// The all-markup page: every line is an element, so collapsing is a matter of the markup's
// classes and the search marks the body's own text.
const MarkupPage = (() => {
    const {className, idPrefix} = Protocol;

    // The lines as rows, their cursor and their view state, made when first needed: a page
    // that is only read pays nothing for them before its first paint.
    let cursor = null;
    let viewState = null;
    function theCursor() {
        if (cursor === null) {
            const rows = new MarkupRows(document.querySelector('.yaml-content'));
            cursor = new TreeCursor(rows);
            viewState = new ViewState(rows, cursor);
        }
        return cursor;
    }

    function toggle(id) {
        const toggleElement = document.getElementById(idPrefix.toggle + id);
        const line = toggleElement && toggleElement.closest('.' + className.line);
        if (line && document.getElementById(idPrefix.content + id)) {
            const current = theCursor();
            current.toggleRow(line.row);
        }
    }

    // A current match inside collapsed nodes would be out of sight: every collapsed node around
    // it opens exactly as a click on its toggle would. A match in a node's own preview or toggle
    // stands outside that node's content and leaves the node as it is.
    function expandAround(node) {
        for (let element = node.parentElement; element; element = element.parentElement) {
            if (element.classList.contains(className.content) &&
                element.classList.contains(className.collapsed) &&
                element.id.startsWith(idPrefix.content)) {
                toggle(element.id.substring(idPrefix.content.length));
            }
        }
    }

    // The search's matches: marks in the body's text.
    class Matches {
        #marks = [];

        replace(needle) {
            BodyMarks.unmark(this.#marks);
            this.#marks = needle ? BodyMarks.mark(document.body, needle).marks : [];
            ErrorColumns.refresh(document.body);
            return this.#marks.length;
        }

        // The cursor follows the current match to its line.
        show(index, previous) {
            if (previous >= 1 && previous <= this.#marks.length) {
                this.#marks[previous - 1].classList.remove(className.current);
            }
            const mark = this.#marks[index - 1];
            mark.classList.add(className.current);
            expandAround(mark);
            const line = mark.closest('.' + className.line);
            if (line !== null) {
                theCursor().moveTo(line.row, false);
            }
            mark.scrollIntoView({behavior: 'smooth', block: 'center'});
        }

        select(index) {
            this.#marks[index - 1].classList.add(className.current);
        }
    }

    return Object.freeze({
        // Publishes the page's functions: the toggles' click handlers call toggle, the host
        // calls the others. The lines are made rows once the first frame is painted, so that
        // assistive technology sees the tree without waiting for a key.
        start() {
            const search = new MatchSearch(new Matches());
            window.toggle = toggle;
            window.highlightMatches =
                (searchText, current) => search.highlight(searchText, current);
            window.navigateMatch = (forward) => search.navigate(forward);
            TreeCursor.publish((call) => call(theCursor()));
            ViewState.publish((call) => {
                theCursor();
                return call(viewState);
            });
            CursorKeys.listen(theCursor);
            ErrorColumns.refresh(document.body);
            requestAnimationFrame(() => setTimeout(theCursor, 0));
        },
    });
})();

MarkupPage.start();
