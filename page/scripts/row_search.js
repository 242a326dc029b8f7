// The search over the rows' text: what the all-markup page's search finds in the rows' text
// nodes, as offsets in the data's pieces. A search for one character is counted from the data's
// unit counts and its matches are found only as far as the search moves through them; the
// matches of a longer text are all found at once (see MatchEnumerator).
class RowSearch {
    // The lower-cased search text and the number of its matches.
    needle = '';
    count = 0;

    #data;
    #index;
    #case = null;
    #matches = null;

    constructor(data, index) {
        this.#data = data;
        this.#index = index;
    }

    find(needle) {
        this.needle = needle;
        this.count = 0;
        this.#matches = null;
        if (needle === '' || this.#holdsMarker(needle)) {
            return;
        }
        if (this.#case === null) {
            this.#case = new UnitCase(this.#data);
        }
        const preimages = this.#preimagesOf(needle);
        if (preimages === null) {
            return; // a unit nothing lower-cases to
        }
        this.#matches = new MatchEnumerator(this.#data, this.#case, needle,
                                            preimages.map((p) => p.units));
        const counted = this.#counted(needle, preimages);
        if (counted !== null) {
            this.count = counted;
            this.#matches.expected = counted;
        } else {
            this.#matches.finish();
            this.count = this.#matches.count;
        }
    }

    // The offset of the match at `index` (0-based) among all of them.
    offsetAt(index) {
        this.#matches.reach(index);
        return this.#matches.offsets[index];
    }

    // The marks of one row: [start, end, isCurrent] in offsets of the pieces, or null. A match
    // ends needle-length later, or at its piece's end where lower-casing lengthened the text.
    marksOf(row, current) {
        if (this.count === 0) {
            return null;
        }
        const pieces = this.#data.pieces;
        const marker = this.#data.marker.piece;
        const start = this.#index.start(row);
        const end = this.#index.start(row + 1) - 1;
        const marks = [];
        PieceSearch.eachMatch(this.#data, start, end, this.needle, (offset) => {
            const pieceEnd = pieces.indexOf(marker, offset);
            marks.push([offset, Math.min(offset + this.needle.length, pieceEnd), offset === current]);
        });
        return marks.length > 0 ? marks : null;
    }

    // The all-markup page never finds a marker: no text node holds one.
    #holdsMarker(needle) {
        const marker = this.#data.marker;
        return needle.includes(marker.piece) || needle.includes(marker.row) ||
               needle.includes(marker.toggle);
    }

    // For each unit of the text, the units of the pieces that lower-case to it; null when one
    // of its units occurs nowhere, not even in the rows of irregular case. (Surrogates lower-case
    // in pairs: they are looked for as such.)
    #preimagesOf(needle) {
        const irregular = this.#case.irregularRows().length > 0;
        const preimages = [];
        for (let i = 0; i < needle.length; i++) {
            const unit = needle.charCodeAt(i);
            const found = this.#case.preimages(unit);
            if (found.count === 0 && !(unit >= 0xD800 && unit <= 0xDFFF) &&
                !(irregular && UnitCase.fromIrregular(unit))) {
                return null;
            }
            preimages.push(found);
        }
        return preimages;
    }

    // A one-unit text is counted from the unit counts, where the rows of irregular case count as
    // their piece-by-piece search does; null for a longer text.
    #counted(needle, preimages) {
        if (needle.length !== 1 || /[\uD800-\uDFFF]/.test(needle)) {
            return null;
        }
        const ranges = this.#case.irregularRows();
        let count = preimages[0].count - this.#occurrencesIn(preimages[0].units, ranges);
        for (let r = 0; r < ranges.length; r += 2) {
            PieceSearch.eachMatch(this.#data, ranges[r], ranges[r + 1], needle, () => count++);
        }
        return count;
    }

    // How often the units occur inside the ranges ([start, end) pairs, ascending): each unit's
    // places are walked once, from range to range, never searching the same text twice.
    #occurrencesIn(units, ranges) {
        const pieces = this.#data.pieces;
        let count = 0;
        for (const unit of units) {
            let range = 0;
            let at = ranges.length > 0 ? pieces.indexOf(unit, ranges[0]) : -1;
            while (at !== -1) {
                while (range < ranges.length && ranges[range + 1] <= at) {
                    range += 2;
                }
                if (range >= ranges.length) {
                    break;
                }
                if (at >= ranges[range]) {
                    count++;
                    at = pieces.indexOf(unit, at + 1);
                } else {
                    at = pieces.indexOf(unit, ranges[range]);
                }
            }
        }
        return count;
    }
}
