// The rows' pieces lower-cased for searching, with the toggle marker written as the glyph it
// stands for, so that "▼" finds toggles as on the all-markup page. Of the pieces' length, so that
// an offset in one is the offset in the other. Made in slices after the first paint, or at once
// when a search comes first.
class LoweredText {
    static #sliceLength = 1 << 21;
    // U+0130 lower-cases to two units and U+03A3 to final or medial sigma depending on its
    // neighbours; every other code point lower-cases to one of its own length, whatever
    // surrounds it.
    static irregularCase = Object.freeze(['\u0130', '\u03A3']);

    #pieces;
    #marker;
    #parts = [];
    #next = 0;
    // The lower-cased text, once made.
    text = null;
    // [start, end) of each row holding a code point that does not lower-case one to one: such
    // rows are searched piece by piece, exactly as the all-markup page searches a text node.
    caseRows = null;

    constructor(data) {
        this.#pieces = data.pieces;
        this.#marker = data.marker;
    }

    // Makes the text now, if it is not made yet.
    finish() {
        if (this.text !== null) {
            return;
        }
        while (this.#next < this.#pieces.length) {
            this.#lowerNextSlice();
        }
        this.text = this.#parts.length === 1 ? this.#parts[0] : this.#parts.join('');
        this.#parts = [];
        this.caseRows = this.#findCaseRows();
    }

    // Makes one more slice; false once the text is made.
    makeSlice() {
        if (this.text !== null) {
            return false;
        }
        if (this.#next < this.#pieces.length) {
            this.#lowerNextSlice();
        } else {
            this.finish();
        }
        return true;
    }

    // The next slice ends at a row's end, so that no code point is cut in two.
    #lowerNextSlice() {
        const pieces = this.#pieces;
        const start = this.#next;
        let end = start + LoweredText.#sliceLength >= pieces.length
            ? pieces.length
            : pieces.indexOf(this.#marker.row, start + LoweredText.#sliceLength) + 1;
        if (end <= 0) {
            end = pieces.length;
        }
        this.#parts.push(this.#lower(pieces.substring(start, end)));
        this.#next = end;
    }

    #lower(slice) {
        let copy = slice.replaceAll(this.#marker.toggle, Protocol.glyph.toggle);
        // U+0130 would lengthen the copy; its rows are searched piece by piece, so any one unit
        // will do in its place.
        if (copy.indexOf('\u0130') !== -1) {
            copy = copy.replaceAll('\u0130', this.#marker.piece);
        }
        return copy.toLowerCase();
    }

    // The starts of the rows holding `unit`, ascending, each once.
    #rowsHolding(unit) {
        const pieces = this.#pieces;
        const rowMarker = this.#marker.row;
        let starts = new Int32Array(16);
        let count = 0;
        for (let at = pieces.indexOf(unit); at !== -1; at = pieces.indexOf(unit, at + 1)) {
            if (count === starts.length) {
                starts = SortedArrays.grown(starts, 16);
            }
            starts[count++] = pieces.lastIndexOf(rowMarker, at) + 1;
            at = pieces.indexOf(rowMarker, at);
        }
        return starts.subarray(0, count);
    }

    // [start, end) of each row holding U+0130 or U+03A3, ascending: the two lists merged.
    #findCaseRows() {
        const first = this.#rowsHolding(LoweredText.irregularCase[0]);
        const second = this.#rowsHolding(LoweredText.irregularCase[1]);
        const ranges = new Int32Array(2 * (first.length + second.length));
        let count = 0;
        let i = 0;
        let j = 0;
        while (i < first.length || j < second.length) {
            const takeFirst = j >= second.length || (i < first.length && first[i] <= second[j]);
            const start = takeFirst ? first[i++] : second[j++];
            if (count === 0 || ranges[count - 2] !== start) {
                ranges[count++] = start;
                ranges[count++] = this.#pieces.indexOf(this.#marker.row, start);
            }
        }
        return ranges.subarray(0, count);
    }
}
