// The virtualised page's data: read from its element once, inline or fetched in parts from the
// addresses the element names, and decoded into what the other modules read.
const PageData = (() => {
    const {field, id, className} = Protocol;

    // The rows as the generator wrote them: every row's pieces in one string, each piece ended
    // by the piece marker and each row by the row marker, the toggle glyph stood for by the
    // toggle marker; one kind character per tree row; for a listing, the marked line; how often
    // each unit occurs in the pieces as shown, where known.
    function decode(raw) {
        const markers = raw[field.markers];
        return Object.freeze({
            pieces: raw[field.pieces],
            kinds: raw[field.kinds] || '',
            listing: raw[field.listing] === true,
            errorLine: raw[field.errorLine] || 0,
            unitCounts: raw[field.unitCounts] || null,
            marker: Object.freeze({
                piece: markers.charAt(0),
                row: markers.charAt(1),
                toggle: markers.charAt(2),
            }),
        });
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
