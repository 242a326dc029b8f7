// One search text's matches in the rows' pieces, found in order as far as they are needed: the
// first at once, the others as the search moves on to them. Each is where the all-markup page's
// search finds it in the text node its piece is.
//
// Outside the rows of irregular case (see UnitCase) the pieces lower-case unit by unit, so a
// match is where every unit lower-cases to the search text's unit there: found with indexOf for
// a text that only its own units lower-case to, and otherwise with a pattern of the units that
// lower-case to each of its units. The rows of irregular case are searched piece by piece.
class MatchEnumerator {
    // The matches found so far: offsets in the pieces, ascending.
    offsets = new Int32Array(64);
    count = 0;
    done = false;
    // The number of matches, where it is known before they are found: the offsets then take
    // one allocation when they are all found.
    expected = -1;

    #data;
    #needle;
    #candidates;
    // Checks a candidate, where not every candidate is a match.
    #verifies;
    // Whether a row of irregular case can hold a match only where a candidate lies.
    #candidatesFindAll;
    #ranges;
    #range = 0;
    #from = 0;
    #pending = [];
    #pendingAt = 0;

    // `preimages[i]` are the units of the pieces that lower-case to the text's unit i.
    constructor(data, unitCase, needle, preimages) {
        this.#data = data;
        this.#needle = needle;
        const surrogates = /[\uD800-\uDFFF]/.test(needle);
        this.#candidates = MatchEnumerator.#candidatesOf(data.pieces, needle, preimages, surrogates);
        this.#verifies = surrogates ? (start) => this.#lowersToNeedle(start) : null;
        // A text without what U+0130 and U+03A3 lower-case to occurs in a piece of such a row
        // lower-cased whole exactly when it does unit by unit.
        this.#candidatesFindAll =
            !Array.prototype.some.call(needle, (c) => UnitCase.fromIrregular(c.charCodeAt(0)));
        this.#ranges = unitCase.irregularRows();
    }

    // Finds matches until there are more than `index`, or no more.
    reach(index) {
        if (this.expected > this.offsets.length && index >= this.offsets.length) {
            const offsets = new Int32Array(this.expected);
            offsets.set(this.offsets.subarray(0, this.count));
            this.offsets = offsets;
        }
        while (this.count <= index && !this.done) {
            if (this.#range >= this.#ranges.length && this.#verifies === null &&
                this.#pendingAt === this.#pending.length) {
                this.#runToEnd(index);
            } else {
                this.#next();
            }
        }
    }

    finish() {
        this.reach(Infinity);
    }

    // Beyond the last row of irregular case, for a text without surrogates, every candidate is
    // a match: found in one loop, millions of times for a frequent letter.
    #runToEnd(index) {
        if (this.#candidates instanceof UnitStreams) {
            const found = this.#candidates.fill(this.offsets, this.count, index, this.#from);
            this.offsets = found.offsets;
            this.count = found.count;
            this.#from = found.from;
            this.done = found.done;
            return;
        }
        const candidates = this.#candidates;
        const length = this.#needle.length;
        let offsets = this.offsets;
        let count = this.count;
        let from = this.#from;
        while (count <= index) {
            const start = candidates.first(from);
            if (start === -1) {
                this.done = true;
                break;
            }
            if (count === offsets.length) {
                offsets = SortedArrays.grown(offsets);
            }
            offsets[count++] = start;
            from = start + length;
        }
        this.offsets = offsets;
        this.count = count;
        this.#from = from;
    }

    #next() {
        if (this.#pendingAt < this.#pending.length) {
            this.#push(this.#pending[this.#pendingAt++]);
            return;
        }
        for (;;) {
            const start = this.#candidates.first(this.#from);
            if (this.#range < this.#ranges.length &&
                this.#ranges[this.#range] <= (start === -1 ? Infinity : start)) {
                if (this.#searchIrregularRow()) {
                    this.#push(this.#pending[this.#pendingAt++]);
                    return;
                }
                continue;
            }
            if (start === -1) {
                this.done = true;
                return;
            }
            if (this.#verify(start)) {
                // The next match starts after this one: matches never overlap.
                this.#from = start + this.#needle.length;
                this.#push(start);
                return;
            }
            this.#from = start + 1;
        }
    }

    // Takes the next row of irregular case, searched piece by piece where it can hold a match;
    // true when it has matches, now pending.
    #searchIrregularRow() {
        const start = this.#ranges[this.#range];
        const end = this.#ranges[this.#range + 1];
        this.#range += 2;
        let candidate = !this.#candidatesFindAll;
        for (let at = this.#candidates.first(start); !candidate && at !== -1 && at < end;
             at = this.#candidates.first(at + 1)) {
            candidate = this.#verify(at);
        }
        this.#from = end;
        this.#pending = [];
        this.#pendingAt = 0;
        if (candidate) {
            PieceSearch.eachMatch(this.#data, start, end, this.#needle,
                                  (offset) => this.#pending.push(offset));
        }
        return this.#pending.length > 0;
    }

    // What gives the first candidate at or after an offset (`first(from)`, -1 for none).
    static #candidatesOf(pieces, needle, preimages, surrogates) {
        if (!surrogates && preimages.every((units, i) => units.length === 1 &&
                                                         units[0] === needle[i])) {
            return MatchEnumerator.#remembering((from) => pieces.indexOf(needle, from));
        }
        if (needle.length === 1) {
            return new UnitStreams(pieces, preimages[0]);
        }
        const pattern = new RegExp(preimages.map((units, i) => MatchEnumerator.#classOf(
            surrogates ? MatchEnumerator.#surrogateRange(needle.charCodeAt(i), units) : units))
            .join(''), 'g');
        return MatchEnumerator.#remembering((from) => {
            pattern.lastIndex = from;
            return pattern.test(pieces) ? pattern.lastIndex - needle.length : -1;
        });
    }

    // The last candidate found answers every later question from before it: rows of irregular
    // case, each asking whether a candidate lies inside it, must not each search on to the next
    // match far beyond.
    static #remembering(find) {
        let askedFrom = -1;
        let found = -2; // nothing asked yet
        return {
            first(from) {
                if (found === -2 || from < askedFrom || (found !== -1 && from > found)) {
                    askedFrom = from;
                    found = find(from);
                }
                return found;
            },
        };
    }

    static #classOf(units) {
        if (units.length === 0) {
            return '[^\\s\\S]'; // nothing: only the rows of irregular case may hold it
        }
        return '[' + units.map((unit) => unit.length === 1 ? MatchEnumerator.#escaped(unit) : unit)
                         .join('') + ']';
    }

    static #escaped(unit) {
        return '\\u' + unit.charCodeAt(0).toString(16).padStart(4, '0');
    }

    // Letters beyond the Basic Multilingual Plane lower-case as pairs: where the text holds a
    // surrogate, any surrogate of its kind is a candidate, and the candidate is verified whole.
    static #surrogateRange(unit, units) {
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            return ['\\uD800-\\uDBFF'];
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return ['\\uDC00-\\uDFFF'];
        }
        return units;
    }

    // For a text holding surrogates: the pieces there lower-case to the text, lower-cased whole
    // from the pair a low surrogate at the start ends.
    #lowersToNeedle(start) {
        const pieces = this.#data.pieces;
        const needle = this.#needle;
        const end = start + needle.length;
        if (end > pieces.length) {
            return false;
        }
        const from = start > 0 && /[\uDC00-\uDFFF]/.test(needle[0]) &&
                     /[\uD800-\uDBFF]/.test(pieces[start - 1]) ? start - 1 : start;
        const lowered = pieces.substring(from, end).toLowerCase();
        return lowered.length === end - from && lowered.endsWith(needle);
    }

    #verify(start) {
        return this.#verifies === null || this.#verifies(start);
    }

    #push(offset) {
        if (this.count === this.offsets.length) {
            this.offsets = SortedArrays.grown(this.offsets);
        }
        this.offsets[this.count++] = offset;
    }
}

// The candidates of a one-unit text: the places of each unit that lower-cases to it, found with
// indexOf and taken in order.
class UnitStreams {
    #pieces;
    #units;
    #positions;

    constructor(pieces, units) {
        this.#pieces = pieces;
        this.#units = units;
        this.#positions = units.map(() => -2); // not looked for yet
    }

    // The first place at or after `from`, or -1.
    first(from) {
        const positions = this.#positions;
        let first = -1;
        for (let i = 0; i < positions.length; i++) {
            if (positions[i] !== -1 && positions[i] < from) {
                positions[i] = this.#pieces.indexOf(this.#units[i], from);
            }
            if (positions[i] !== -1 && (first === -1 || positions[i] < first)) {
                first = positions[i];
            }
        }
        return first;
    }

    // Appends every place from `from` on to offsets[count...] until there are more than
    // `index`: the loop that runs millions of times for a frequent letter.
    fill(offsets, count, index, from) {
        const pieces = this.#pieces;
        const units = this.#units;
        const positions = this.#positions;
        this.first(from);
        let next = from;
        while (count <= index) {
            let which = -1;
            for (let i = 0; i < positions.length; i++) {
                if (positions[i] !== -1 && (which === -1 || positions[i] < positions[which])) {
                    which = i;
                }
            }
            if (which === -1) {
                return {offsets, count, from: next, done: true};
            }
            const at = positions[which];
            if (count === offsets.length) {
                offsets = SortedArrays.grown(offsets);
            }
            offsets[count++] = at;
            next = at + 1;
            positions[which] = pieces.indexOf(units[which], next);
        }
        return {offsets, count, from: next, done: false};
    }
}
