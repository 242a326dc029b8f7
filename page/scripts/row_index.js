// Where each row starts in the data's pieces. The first screen needs a few dozen rows; the rest
// are found in slices after the first paint, or at once when something needs them all.
class RowIndex {
    #pieces;
    #rowMarker;
    #pieceMarker;
    // #starts[r] is the offset of row r's first character, known for r <= #indexed; the entry
    // after the last row is the pieces' length.
    #starts;
    #indexed = 0;

    constructor(data) {
        this.#pieces = data.pieces;
        this.#rowMarker = data.marker.row;
        this.#pieceMarker = data.marker.piece;
        if (data.listing) {
            // A listing has no kinds to count its rows by; its first screen is at the error
            // line, which needs the index up to there anyway.
            this.#starts = this.#findAllStarts();
            this.#indexed = this.#starts.length - 1;
        } else {
            this.#starts = new Int32Array(data.kinds.length + 1);
        }
        this.count = this.#starts.length - 1;
    }

    // The offset of the row's first character (of the pieces' end for `count`).
    start(row) {
        this.indexUpTo(row);
        return this.#starts[row];
    }

    // The row holding the character at `offset`: the rows are indexed only up to it.
    rowOfOffset(offset) {
        const pieces = this.#pieces;
        const marker = this.#rowMarker;
        const starts = this.#starts;
        let indexed = this.#indexed;
        while (indexed < this.count && starts[indexed] <= offset) {
            starts[indexed + 1] = pieces.indexOf(marker, starts[indexed]) + 1;
            indexed++;
        }
        this.#indexed = indexed;
        return SortedArrays.lastAtMost(starts, indexed, offset);
    }

    // [start, end) of each of the row's pieces, flat; the end is the piece's marker.
    pieceBounds(row) {
        const pieces = this.#pieces;
        const end = this.start(row + 1) - 1; // the row marker
        const bounds = [];
        let start = this.#starts[row];
        while (start < end) {
            const stop = pieces.indexOf(this.#pieceMarker, start);
            bounds.push(start, stop);
            start = stop + 1;
        }
        return bounds;
    }

    // [start, end) of the row's piece at `piece`, or null where the row has fewer: the pieces
    // after it, a long value among them, are not read.
    pieceAt(row, piece) {
        const end = this.start(row + 1) - 1;
        let start = this.#starts[row];
        for (let at = 0; start < end; at++) {
            const stop = this.#pieces.indexOf(this.#pieceMarker, start);
            if (at === piece) {
                return [start, stop];
            }
            start = stop + 1;
        }
        return null;
    }

    indexUpTo(row) {
        const last = Math.min(row, this.count);
        const pieces = this.#pieces;
        const marker = this.#rowMarker;
        const starts = this.#starts;
        let indexed = this.#indexed;
        while (indexed < last) {
            starts[indexed + 1] = pieces.indexOf(marker, starts[indexed]) + 1;
            indexed++;
        }
        this.#indexed = indexed;
    }

    // Indexes up to `rows` more rows; false once every row is indexed.
    indexSlice(rows) {
        this.indexUpTo(this.#indexed + rows);
        return this.#indexed < this.count;
    }

    #findAllStarts() {
        const pieces = this.#pieces;
        let starts = new Int32Array(1024);
        let count = 0;
        let position = 0;
        while (position < pieces.length) {
            if (count + 1 >= starts.length) {
                starts = SortedArrays.grown(starts);
            }
            starts[count++] = position;
            position = pieces.indexOf(this.#rowMarker, position) + 1;
        }
        starts[count] = pieces.length;
        return starts.subarray(0, count + 1);
    }
}
