// The virtualised page's data: read from its element once, inline or fetched in parts from the
// addresses the element names, and decoded into what the other modules read.
const PageData = (() => {
    const {field, id, className} = Protocol;

    // The rows as the generator wrote them: every row's pieces in one string, each piece ended
    // by the piece marker and each row by the row marker, the toggle glyph stood for by the
    // toggle marker; one kind character per tree row; for a listing, the marked line; how often
    // each unit occurs in the pieces as shown, where known; the rows whose pieces are not the
    // usual ones, with what each piece is.
    function decode(raw) {
        const markers = raw[field.markers];
        return Object.freeze({
            layouts: decodeLayouts(raw[field.layouts]),
            errorMarks: decodeErrorMarks(raw[field.errorMarks]),
            pieces: raw[field.pieces],
            kinds: raw[field.kinds] || '',
            listing: raw[field.listing] === true,
            // The line the listing opens at: the banner's, or else the first one the failure
            // names (a duplicated key's first occurrence).
            errorLine: raw[field.errorLine] ||
                       (Array.isArray(raw[field.errorMarks]) ? raw[field.errorMarks][0] || 0 : 0),
            unitCounts: raw[field.unitCounts] || null,
            marker: Object.freeze({
                piece: markers.charAt(0),
                row: markers.charAt(1),
                toggle: markers.charAt(2),
            }),
        });
    }

    // Line -> {units, atEnd}: the UTF-16 units before each marked character of the line, and
    // whether a place after its last character is named.
    function decodeErrorMarks(list) {
        const marks = new Map();
        for (let i = 0; Array.isArray(list) && i + 1 < list.length; i += 2) {
            if (!marks.has(list[i])) {
                marks.set(list[i], {units: [], atEnd: false});
            }
            if (list[i + 1] < 0) {
                marks.get(list[i]).atEnd = true;
            } else {
                marks.get(list[i]).units.push(list[i + 1]);
            }
        }
        return marks;
    }

    // Row -> {pieces, title}: `pieces` has one Protocol.layout character per piece of the row.
    function decodeLayouts(list) {
        const layouts = new Map();
        for (let i = 0; Array.isArray(list) && i + 2 < list.length; i += 3) {
            layouts.set(list[i], Object.freeze({pieces: list[i + 1], title: list[i + 2]}));
        }
        return layouts;
    }

    // A page whose data cannot be had says so where the rows would be, and stays a page with no
    // rows (searchable, as any page) rather than an empty one.
    function unavailable() {
        const banner = document.createElement('div');
        banner.className = className.errorBanner;
        banner.textContent = 'Unable to show the document: its data could not be read';
        const container = document.getElementById(id.rows);
        container.parentNode.insertBefore(banner, container);
        return decode({[field.markers]: '\u0080\u0081\u0082', [field.pieces]: ''});
    }

    // The engine passes a fetched resource on a few kilobytes at a time, so the data comes in
    // parts fetched at once and joined in order.
    function fetchParts(addresses) {
        return Promise.all(addresses.map((address) => fetch(address).then((r) => r.text())))
            .then((parts) => decode(JSON.parse(parts.join(''))))
            .catch(unavailable);
    }

    return Object.freeze({
        // Calls `arrived` with the data: at once when it is inline, once fetched otherwise. The
        // element goes, so that its text is not kept twice.
        load(arrived) {
            const element = document.getElementById(id.data);
            const content = JSON.parse(element.textContent);
            element.remove();
            const parts = content[field.parts];
            if (Array.isArray(parts)) {
                fetchParts(parts).then(arrived);
            } else {
                arrived(decode(content));
            }
        },
    });
})();
