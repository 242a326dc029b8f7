// The search over the rows' text: what the all-markup page's search finds in the rows' text
// nodes, found as offsets in the data's pieces with one indexOf loop over the lower-cased copy,
// and kept in one Int32Array. Rows of irregular case are searched piece by piece, exactly as that
// page searches a text node.
class RowSearch {
    // At most one previous match in this many characters of the text: a text extending the
    // previous one is searched among its matches. Checking a candidate costs about ten times
    // what indexOf spends per character it passes.
    static #sparseCandidates = 256;

    #data;
    #index;
    #lowered;
    // The matches: offsets in the pieces, ascending, of the lower-cased needle.
    needle = '';
    offsets = new Int32Array(0);
    count = 0;
    // The buffer the next search writes into; it takes turns with `offsets`, so that searches
    // typed one after another allocate nothing new.
    #spare = new Int32Array(1024);

    constructor(data, index, lowered) {
        this.#data = data;
        this.#index = index;
        this.#lowered = lowered;
    }

    // Replaces the matches with those of `needle` (lower-cased; empty for none).
    find(needle) {
        const previous = {needle: this.needle, offsets: this.offsets, count: this.count};
        if (needle === '') {
            this.#keep('', this.offsets, 0);
            return;
        }
        this.#lowered.finish();
        const extendsPrevious = previous.needle !== '' && needle.length > previous.needle.length &&
            needle.startsWith(previous.needle) &&
            previous.count * RowSearch.#sparseCandidates < this.#lowered.text.length &&
            !RowSearch.#hasBorder(previous.needle);
        const found = this.#search(needle, extendsPrevious ? previous : null);
        const spare = previous.offsets.length >= 1024 ? previous.offsets : new Int32Array(1024);
        this.#keep(needle, found.offsets, found.count);
        this.#spare = spare;
    }

    // The marks of one row: [start, end, isCurrent] in offsets of the pieces, or null. A match
    // ends needle-length later, or at its piece's end where lower-casing lengthened the text.
    marksOf(row, current) {
        const count = this.count;
        if (count === 0) {
            return null;
        }
        const start = this.#index.start(row);
        const end = this.#index.start(row + 1);
        const offsets = this.offsets;
        let i = SortedArrays.firstAtLeast(offsets, count, start);
        if (i >= count || offsets[i] >= end) {
            return null;
        }
        const marks = [];
        let pieceEnd = -1;
        for (; i < count && offsets[i] < end; i++) {
            const offset = offsets[i];
            if (offset > pieceEnd) {
                pieceEnd = this.#data.pieces.indexOf(this.#data.marker.piece, offset);
            }
            marks.push([offset, Math.min(offset + this.needle.length, pieceEnd), offset === current]);
        }
        return marks;
    }

    #keep(needle, offsets, count) {
        this.needle = needle;
        this.offsets = offsets;
        this.count = count;
    }

    // The all-markup page never finds a marker: no text node holds one.
    #holdsMarker(needle) {
        const marker = this.#data.marker;
        return needle.indexOf(marker.piece) !== -1 || needle.indexOf(marker.row) !== -1 ||
               needle.indexOf(marker.toggle) !== -1;
    }

    // Finds the needle's matches in order. Candidates come from the lower-cased copy, or from the
    // previous search's offsets when the needle extends a text without a border; rows of
    // irregular case are skipped there and searched piece by piece in their place. The loop runs
    // once per match, millions of times for a frequent letter: it keeps its state in locals and
    // calls nothing but indexOf.
    #search(needle, previous) {
        const found = {offsets: this.#spare, count: 0};
        if (this.#holdsMarker(needle)) {
            return found;
        }
        const text = this.#lowered.text;
        const length = needle.length;
        const next = previous === null ? null : RowSearch.#candidatesAmong(previous, text, needle);
        // A needle without what U+0130 and U+03A3 lower-case to occurs in the lower-cased text of
        // a piece exactly where it occurs in the copy; a row of irregular case where the copy
        // holds no occurrence (or, for a text extending the previous one, where that had no
        // match) then has no match, and Greek or Turkish documents, full of such rows, are
        // searched piece by piece only where they match.
        const copyFindsAll = !/[i\u0307\u03C3\u03C2]/.test(needle);
        // Past every offset: the rows of irregular case after the last candidate come before it.
        const beyond = text.length + 1;
        const ranges = this.#lowered.caseRows;
        let range = 0;
        let nextRange = ranges.length > 0 ? ranges[0] : beyond + 1;
        let offsets = found.offsets;
        let count = 0;
        let position = next === null ? text.indexOf(needle, 0) : next(0);
        for (;;) {
            const at = position === -1 ? beyond : position;
            if (at >= nextRange) {
                const rangeStart = nextRange;
                const rangeEnd = ranges[2 * range + 1];
                range++;
                nextRange = 2 * range < ranges.length ? ranges[2 * range] : beyond + 1;
                if (!copyFindsAll || (next === null ? at < rangeEnd
                                                    : RowSearch.#hasOffsetIn(previous, rangeStart,
                                                                             rangeEnd))) {
                    found.offsets = offsets;
                    found.count = count;
                    this.#searchRowByPieces(rangeStart, rangeEnd, needle, found);
                    offsets = found.offsets;
                    count = found.count;
                }
                if (at < rangeEnd) {
                    position = next === null ? text.indexOf(needle, rangeEnd) : next(rangeEnd);
                }
                continue;
            }
            if (position === -1) {
                break;
            }
            if (count === offsets.length) {
                offsets = SortedArrays.grown(offsets);
            }
            offsets[count++] = position;
            position = next === null ? text.indexOf(needle, position + length)
                                     : next(position + length);
        }
        found.offsets = offsets;
        found.count = count;
        return found;
    }

    #searchRowByPieces(start, end, needle, found) {
        const pieces = this.#data.pieces;
        const marker = this.#data.marker;
        let pieceStart = start;
        while (pieceStart < end) {
            let pieceEnd = pieces.indexOf(marker.piece, pieceStart);
            if (pieceEnd === -1 || pieceEnd > end) {
                pieceEnd = end;
            }
            const piece = pieces.substring(pieceStart, pieceEnd);
            RowSearch.#searchPieceAsTextNode(
                piece === marker.toggle ? Protocol.glyph.toggle : piece, pieceStart, needle, found);
            pieceStart = pieceEnd + 1;
        }
    }

    // One piece searched exactly as the all-markup page searches its text node: the rest is
    // lower-cased anew after each match, and the positions found in it are applied to the
    // original rest, so counts and cuts equal that page's.
    static #searchPieceAsTextNode(rest, offset, needle, found) {
        let position = rest.toLowerCase().indexOf(needle);
        while (position !== -1) {
            if (found.count === found.offsets.length) {
                found.offsets = SortedArrays.grown(found.offsets);
            }
            found.offsets[found.count++] = offset + Math.min(position, rest.length);
            const cut = Math.min(position + needle.length, rest.length);
            offset += cut;
            rest = rest.substring(cut);
            position = rest.toLowerCase().indexOf(needle);
        }
    }

    // The previous matches at or after `from` where the needle occurs in the copy, one per call.
    static #candidatesAmong(previous, text, needle) {
        let index = 0;
        return (from) => {
            const offsets = previous.offsets;
            while (index < previous.count) {
                const candidate = offsets[index++];
                if (candidate >= from && text.startsWith(needle, candidate)) {
                    return candidate;
                }
            }
            return -1;
        };
    }

    static #hasOffsetIn(matches, start, end) {
        const i = SortedArrays.firstAtLeast(matches.offsets, matches.count, start);
        return i < matches.count && matches.offsets[i] < end;
    }

    // Whether a proper prefix of the text equals its suffix. Occurrences of a text without one
    // never overlap, so the leftmost non-overlapping search finds all of them, and every
    // occurrence of a longer text starting with it is among them.
    static #hasBorder(text) {
        const border = new Int32Array(text.length);
        let k = 0;
        for (let i = 1; i < text.length; i++) {
            while (k > 0 && text.charCodeAt(i) !== text.charCodeAt(k)) {
                k = border[k - 1];
            }
            if (text.charCodeAt(i) === text.charCodeAt(k)) {
                k++;
            }
            border[i] = k;
        }
        return text.length > 0 && border[text.length - 1] > 0;
    }
}
