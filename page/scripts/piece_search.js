// The all-markup page's search of one text node, run on the pieces of the data: the rest of the
// piece is lower-cased anew after each match, and the positions found in it are applied to the
// original rest, so that counts and cuts equal that page's even where lower-casing changes the
// text's length.
const PieceSearch = Object.freeze({
    // Calls `found(offset)` for each match of the lower-cased `needle` in the pieces that
    // [start, end) of the data's pieces holds, in order.
    eachMatch(data, start, end, needle, found) {
        const {pieces, marker} = data;
        let pieceStart = start;
        while (pieceStart < end) {
            let pieceEnd = pieces.indexOf(marker.piece, pieceStart);
            if (pieceEnd === -1 || pieceEnd > end) {
                pieceEnd = end;
            }
            const piece = pieces.substring(pieceStart, pieceEnd);
            PieceSearch.eachMatchInText(piece === marker.toggle ? Protocol.glyph.toggle : piece,
                                        pieceStart, needle, found);
            pieceStart = pieceEnd + 1;
        }
    },

    eachMatchInText(text, offset, needle, found) {
        if (text.indexOf('\u0130') === -1 && text.indexOf('\u03A3') === -1) {
            // Lower-cased unit by unit: the rest lower-cased anew is the text lower-cased once,
            // from the cut on.
            const lowered = text.toLowerCase();
            for (let position = lowered.indexOf(needle); position !== -1;
                 position = lowered.indexOf(needle, position + needle.length)) {
                found(offset + position);
            }
            return;
        }
        let rest = text;
        let position = rest.toLowerCase().indexOf(needle);
        while (position !== -1) {
            found(offset + Math.min(position, rest.length));
            const cut = Math.min(position + needle.length, rest.length);
            offset += cut;
            rest = rest.substring(cut);
            position = rest.toLowerCase().indexOf(needle);
        }
    },
});
