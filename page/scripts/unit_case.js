// How the search lower-cases the rows' text, one UTF-16 unit at a time, and which units of this
// document lower-case to a given one and how often they occur. Every unit but U+0130 lower-cases
// to one unit, whatever surrounds it, except U+03A3, whose lower case depends on its neighbours;
// the rows holding either are "irregular" and are searched piece by piece, exactly as the
// all-markup page searches a text node.
class UnitCase {
    // What U+0130 lower-cases to per unit: nothing a single unit of a search text can equal.
    static #longer = 0x10000;
    static irregularUnits = Object.freeze(['\u0130', '\u03A3']);

    // Whether a unit is one the irregular units lower-case to.
    static fromIrregular(unit) {
        return unit === 0x69 || unit === 0x307 || unit === 0x3C3 || unit === 0x3C2;
    }

    #pieces;
    #marker;
    // The lower case of each unit, found when first asked for; -1 until then.
    #lower = new Int32Array(0x10000).fill(-1);
    // How often each unit occurs in the pieces as shown, the toggle marker as its glyph.
    #counts;
    // The units that occur, ascending.
    #units;
    #irregularRows = null;
    #preimages = new Map();

    constructor(data) {
        this.#pieces = data.pieces;
        this.#marker = data.marker;
        this.#counts = data.unitCounts !== null ? UnitCase.#countsOf(data.unitCounts)
                                                : this.#countPieces();
        const units = [];
        this.#counts.forEach((count, unit) => {
            if (count > 0) {
                units.push(unit);
            }
        });
        this.#units = units;
    }

    // The lower case of one unit of the pieces.
    #lowerUnit(unit) {
        let lowered = this.#lower[unit];
        if (lowered === -1) {
            lowered = this.#lowerOf(unit);
            this.#lower[unit] = lowered;
        }
        return lowered;
    }

    // The units to look for in the pieces to find `unit` (a unit of a lower-cased search text),
    // and how many there are of them.
    preimages(unit) {
        let known = this.#preimages.get(unit);
        if (known === undefined) {
            known = this.#findPreimages(unit);
            this.#preimages.set(unit, known);
        }
        return known;
    }

    #findPreimages(unit) {
        const found = [];
        let count = 0;
        for (const candidate of this.#units) {
            if (this.#lowerUnit(candidate) === unit) {
                found.push(String.fromCharCode(candidate));
                count += this.#counts[candidate];
            }
        }
        if (unit === Protocol.glyph.toggle.charCodeAt(0) && count > 0) {
            found.push(this.#marker.toggle);
        }
        return Object.freeze({units: found, count});
    }

    // [start, end) of every row holding U+0130 or U+03A3, ascending; found once.
    irregularRows() {
        if (this.#irregularRows === null) {
            this.#irregularRows = this.#findIrregularRows();
        }
        return this.#irregularRows;
    }

    #lowerOf(unit) {
        const marker = this.#marker;
        const character = String.fromCharCode(unit);
        if (character === marker.toggle) {
            return Protocol.glyph.toggle.charCodeAt(0);
        }
        if (character === marker.piece || character === marker.row) {
            return unit;
        }
        const lowered = character.toLowerCase();
        return lowered.length === 1 ? lowered.charCodeAt(0) : UnitCase.#longer;
    }

    static #countsOf(pairs) {
        const counts = new Uint32Array(0x10000);
        for (let i = 0; i + 1 < pairs.length; i += 2) {
            counts[pairs[i]] = pairs[i + 1];
        }
        return counts;
    }

    // For data without counts (text that is not UTF-8): one pass over the pieces.
    #countPieces() {
        const counts = new Uint32Array(0x10000);
        const pieces = this.#pieces;
        const piece = this.#marker.piece.charCodeAt(0);
        const row = this.#marker.row.charCodeAt(0);
        const toggle = this.#marker.toggle.charCodeAt(0);
        for (let i = 0; i < pieces.length; i++) {
            const unit = pieces.charCodeAt(i);
            if (unit !== piece && unit !== row) {
                counts[unit === toggle ? Protocol.glyph.toggle.charCodeAt(0) : unit]++;
            }
        }
        return counts;
    }

    #findIrregularRows() {
        const starts = [];
        const pieces = this.#pieces;
        const rowMarker = this.#marker.row;
        for (const unit of UnitCase.irregularUnits) {
            if (this.#counts[unit.charCodeAt(0)] === 0) {
                continue;
            }
            for (let at = pieces.indexOf(unit); at !== -1; at = pieces.indexOf(unit, at + 1)) {
                starts.push(pieces.lastIndexOf(rowMarker, at) + 1);
                at = pieces.indexOf(rowMarker, at);
            }
        }
        starts.sort((a, b) => a - b);
        const ranges = [];
        for (const start of starts) {
            if (ranges.length === 0 || ranges[ranges.length - 2] !== start) {
                ranges.push(start, pieces.indexOf(rowMarker, start));
            }
        }
        return Int32Array.from(ranges);
    }
}
