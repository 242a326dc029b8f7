// The virtualised page's matches, in the order the all-markup page finds them: marks in the
// body's text before the rows, the rows' matches, marks in the body's text after them. Marks
// exist only in the rows the painter has rendered; it asks for them by row.
class VirtualMatches {
    #container;
    #index;
    #painter;
    #rows;
    #before = [];
    #after = [];
    #current = 0;
    #shown;

    // `shown(row)` hears of every row a current match is shown in.
    constructor(container, index, painter, rows, shown = () => {}) {
        this.#shown = shown;
        this.#container = container;
        this.#index = index;
        this.#painter = painter;
        this.#rows = rows;
        painter.setMarks((row) => rows.marksOf(row, this.#currentRowOffset()));
    }

    replace(needle) {
        BodyMarks.unmark(this.#before.concat(this.#after));
        this.#before = [];
        this.#after = [];
        this.#current = 0;
        if (needle !== '') {
            const {marks, before} = BodyMarks.mark(document.body, needle, this.#container);
            this.#before = marks.slice(0, before);
            this.#after = marks.slice(before);
        }
        this.#rows.find(needle);
        if (!this.#isRowMatch(1)) {
            this.#painter.refresh(); // no row to reveal: the old marks go now
        }
        return this.#before.length + this.#rows.count + this.#after.length;
    }

    show(index, previous) {
        const wasRow = this.#isRowMatch(previous);
        if (previous >= 1 && !wasRow) {
            this.#bodyMark(previous).classList.remove(Protocol.className.current);
        }
        this.#current = index;
        if (this.#isRowMatch(index)) {
            this.#showRowMatch();
            return;
        }
        if (wasRow) {
            this.#painter.refresh();
        }
        const mark = this.#bodyMark(index);
        mark.classList.add(Protocol.className.current);
        mark.scrollIntoView({behavior: 'smooth', block: 'center'});
    }

    // The rows in view are written anew for a current match among them, and for old marks.
    select(index) {
        this.#current = index;
        if (!this.#isRowMatch(index)) {
            this.#bodyMark(index).classList.add(Protocol.className.current);
        }
        this.#painter.refresh();
    }

    #isRowMatch(index) {
        const inRows = index - 1 - this.#before.length;
        return index >= 1 && inRows >= 0 && inRows < this.#rows.count;
    }

    #bodyMark(index) {
        const before = this.#before.length;
        return index <= before ? this.#before[index - 1]
                               : this.#after[index - 1 - before - this.#rows.count];
    }

    // The pieces' offset of the current match when it lies in the rows, else -1.
    #currentRowOffset() {
        return this.#isRowMatch(this.#current)
            ? this.#rows.offsetAt(this.#current - 1 - this.#before.length) : -1;
    }

    // The painter expands what hides the match, brings its row into view and writes the row so
    // that the match shows; a page scrolled sideways is scrolled to it too.
    #showRowMatch() {
        const row = this.#index.rowOfOffset(this.#currentRowOffset());
        this.#painter.reveal(row);
        this.#shown(row);
        const element = this.#painter.element(row);
        const mark = element && element.querySelector('mark.' + Protocol.className.current);
        if (mark) {
            VirtualMatches.#scrollSideways(mark);
        }
    }

    static #scrollSideways(mark) {
        const box = mark.getBoundingClientRect();
        const width = document.documentElement.clientWidth;
        let shift = 0;
        if (box.left < 0) {
            shift = box.left;
        } else if (box.right > width) {
            shift = Math.min(box.left, box.right - width);
        }
        if (shift !== 0) {
            window.scrollBy(Math.round(shift), 0);
        }
    }
}
