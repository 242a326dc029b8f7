// Search on the virtualised page. It finds what the all-markup page's search finds, in the same
// order and with the same cuts, but walks the body's DOM only outside the rows and searches the
// rows through their text (rows.text): one indexOf loop over a lower-cased copy of it, the
// matches kept as offsets in one Int32Array. Marks exist only in the rows the rows script has
// rendered; it asks for them through the highlighter.
//
// This file is concatenated after virtual_rows.js inside one function; `rows` is that script's.

// The rows' markers, once the rows exist.
var searchMarkers = null;
var toggleGlyph = '\u25BC';

// The rows' text lower-cased, with the toggle marker written as the glyph it stands for, so
// that "▼" finds toggles as on the all-markup page. Same length as rows.text, so an offset in
// one is the offset in the other. Built once, in slices after the first paint or at once when a
// search comes first.
var lowered = {
    text: null,
    parts: [],
    next: 0,
    // [start, end) of each row holding a code point that does not lower-case one to one: such
    // rows are searched piece by piece, exactly as the all-markup page searches a text node.
    caseRows: null
};

var loweredSliceLength = 1 << 21;

// U+0130 lower-cases to two units and U+03A3 to final or medial sigma depending on its
// neighbours; every other code point lower-cases to one of its own length, whatever surrounds it.
var irregularCase = ['\u0130', '\u03A3'];

function lowerSlice(text) {
    var copy = text.replaceAll(searchMarkers.toggle, toggleGlyph);
    // U+0130 would lengthen the copy; its rows are searched piece by piece, so any one unit will
    // do in its place.
    if (copy.indexOf('\u0130') !== -1) {
        copy = copy.replaceAll('\u0130', searchMarkers.piece);
    }
    return copy.toLowerCase();
}

// Lower-cases the next slice, ending at a row's end so that no code point is cut in two.
function lowerNextSlice() {
    var text = rows.text;
    var start = lowered.next;
    var end = start + loweredSliceLength >= text.length
                  ? text.length
                  : text.indexOf(searchMarkers.row, start + loweredSliceLength) + 1;
    if (end <= 0) {
        end = text.length;
    }
    lowered.parts.push(lowerSlice(text.substring(start, end)));
    lowered.next = end;
}

// The starts of the rows holding `unit`, ascending, each once.
function rowsHolding(text, unit) {
    var starts = new Int32Array(16);
    var count = 0;
    for (var at = text.indexOf(unit); at !== -1; at = text.indexOf(unit, at + 1)) {
        if (count === starts.length) {
            var grown = new Int32Array(count * 2);
            grown.set(starts);
            starts = grown;
        }
        starts[count++] = text.lastIndexOf(searchMarkers.row, at) + 1;
        at = text.indexOf(searchMarkers.row, at);
    }
    return starts.subarray(0, count);
}

// [start, end) of each row holding U+0130 or U+03A3, ascending: the two lists merged.
function findCaseRows(text) {
    var first = rowsHolding(text, irregularCase[0]);
    var second = rowsHolding(text, irregularCase[1]);
    var ranges = new Int32Array(2 * (first.length + second.length));
    var count = 0;
    var i = 0;
    var j = 0;
    while (i < first.length || j < second.length) {
        var start;
        if (j >= second.length || (i < first.length && first[i] <= second[j])) {
            start = first[i++];
        } else {
            start = second[j++];
        }
        if (count === 0 || ranges[count - 2] !== start) {
            ranges[count++] = start;
            ranges[count++] = text.indexOf(searchMarkers.row, start);
        }
    }
    return ranges.subarray(0, count);
}

function finishLowered() {
    while (lowered.next < rows.text.length) {
        lowerNextSlice();
    }
    lowered.text = lowered.parts.length === 1 ? lowered.parts[0] : lowered.parts.join('');
    lowered.parts = [];
    lowered.caseRows = findCaseRows(rows.text);
}

function ensureLowered() {
    if (lowered.text === null) {
        finishLowered();
    }
}

// After the first paint, one slice per task, so that scrolling and clicks stay answered.
function lowerInBackground() {
    if (lowered.text !== null) {
        return;
    }
    if (lowered.next < rows.text.length) {
        lowerNextSlice();
        setTimeout(lowerInBackground, 0);
    } else {
        finishLowered();
    }
}

// ---- The state of the search --------------------------------------------------------------

var searchState = {
    needle: '',
    before: [],       // marks in the body's text before the rows' container
    after: [],        // marks after it
    offsets: new Int32Array(0), // rows.text offsets of the matches in the rows, ascending
    count: 0,         // matches in the rows
    currentIndex: 0   // 1-based among all matches; 0 for none
};

function searchTotal() {
    return searchState.before.length + searchState.count + searchState.after.length;
}

function postSearchUpdate() {
    var handlers = window.webkit && window.webkit.messageHandlers;
    if (handlers && handlers.matchUpdate) {
        handlers.matchUpdate.postMessage(
            {current: searchState.currentIndex, total: searchTotal()});
    }
}

// ---- The body outside the rows: exactly the all-markup page's search ----------------------

function unmarkBody() {
    var marks = searchState.before.concat(searchState.after);
    var parents = [];
    for (var i = 0; i < marks.length; i++) {
        var mark = marks[i];
        var parent = mark.parentNode;
        if (!parent) {
            continue;
        }
        while (mark.firstChild) {
            parent.insertBefore(mark.firstChild, mark);
        }
        parent.removeChild(mark);
        if (parents.indexOf(parent) === -1) {
            parents.push(parent);
        }
    }
    for (var j = 0; j < parents.length; j++) {
        parents[j].normalize();
    }
}

// Depth-first in document order with an explicit stack; the rows' container is where the rows'
// matches go, so the marks found before reaching it come before them.
function markBody(needle) {
    var marks = [];
    var split = -1;
    var pending = [document.body];
    while (pending.length > 0) {
        var node = pending.pop();
        if (node === rows.container) {
            split = marks.length;
        } else if (node.nodeType === Node.TEXT_NODE) {
            markTextNode(node, needle, marks);
        } else if (isSearchedElement(node)) {
            var children = node.childNodes;
            for (var i = children.length - 1; i >= 0; i--) {
                pending.push(children[i]);
            }
        }
    }
    if (split === -1) {
        split = marks.length;
    }
    searchState.before = marks.slice(0, split);
    searchState.after = marks.slice(split);
}

// ---- The rows: offsets in rows.text -------------------------------------------------------

// Two buffers take turns: a search writes into the one the previous search did not fill (which
// it may read), so that big searches typed one after another allocate nothing new.
var found = {offsets: new Int32Array(1024), count: 0};

function addFound(offset) {
    if (found.count === found.offsets.length) {
        var grown = new Int32Array(Math.max(1024, found.offsets.length * 2));
        grown.set(found.offsets);
        found.offsets = grown;
    }
    found.offsets[found.count++] = offset;
}

// One piece of a row holding U+0130 or U+03A3, searched exactly as the all-markup page searches
// its text node: the rest is lower-cased anew after each match, and the positions found in it
// are applied to the original rest, so counts and cuts equal that page's.
function searchPieceAsTextNode(rest, offset, needle) {
    var position = rest.toLowerCase().indexOf(needle);
    while (position !== -1) {
        addFound(offset + Math.min(position, rest.length));
        var cut = Math.min(position + needle.length, rest.length);
        offset += cut;
        rest = rest.substring(cut);
        position = rest.toLowerCase().indexOf(needle);
    }
}

function searchRowByPieces(start, end, needle) {
    var text = rows.text;
    var pieceStart = start;
    while (pieceStart < end) {
        var pieceEnd = text.indexOf(searchMarkers.piece, pieceStart);
        if (pieceEnd === -1 || pieceEnd > end) {
            pieceEnd = end;
        }
        var piece = text.substring(pieceStart, pieceEnd);
        searchPieceAsTextNode(piece === searchMarkers.toggle ? toggleGlyph : piece, pieceStart,
                              needle);
        pieceStart = pieceEnd + 1;
    }
}

// The all-markup page never finds a marker: no text node holds one.
function holdsMarker(needle) {
    return needle.indexOf(searchMarkers.piece) !== -1 ||
           needle.indexOf(searchMarkers.row) !== -1 ||
           needle.indexOf(searchMarkers.toggle) !== -1;
}

// Whether a proper prefix of the text equals its suffix. Occurrences of a text without one
// never overlap, so the leftmost non-overlapping search finds all of them, and every occurrence
// of a longer text starting with it is among them.
function hasBorder(text) {
    var border = new Int32Array(text.length);
    var k = 0;
    for (var i = 1; i < text.length; i++) {
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

// Finds the needle's matches in the rows, in order, into `found`. Candidates come from the
// lower-cased copy, or from the previous search's offsets when the needle extends a text without
// a border; rows of irregular case are skipped there and searched piece by piece in their place.
// The loop runs once per match, millions of times for a frequent letter: it keeps its state in
// locals and calls nothing but indexOf.
function searchRows(needle, previous) {
    found.count = 0;
    if (holdsMarker(needle)) {
        return;
    }
    var text = lowered.text;
    var length = needle.length;
    var next = previous === null ? null : candidatesAmong(previous, text, needle);
    // A needle without what U+0130 and U+03A3 lower-case to occurs in the lower-cased text of a
    // piece exactly where it occurs in the copy; a row of irregular case where the copy holds no
    // occurrence (or, for a text extending the previous one, where that had no match) then has
    // no match, and Greek or Turkish documents, full of such rows, are searched piece by piece
    // only where they match.
    var copyFindsAll = !/[i\u0307\u03C3\u03C2]/.test(needle);
    // Past every offset: the rows of irregular case after the last candidate come before it.
    var beyond = text.length + 1;
    var ranges = lowered.caseRows;
    var range = 0;
    var nextRange = ranges.length > 0 ? ranges[0] : beyond + 1;
    var offsets = found.offsets;
    var count = 0;
    var position = next === null ? text.indexOf(needle, 0) : next(0);
    for (;;) {
        var at = position === -1 ? beyond : position;
        if (at >= nextRange) {
            var rangeStart = nextRange;
            var rangeEnd = ranges[2 * range + 1];
            range++;
            nextRange = 2 * range < ranges.length ? ranges[2 * range] : beyond + 1;
            if (!copyFindsAll || (next === null ? at < rangeEnd
                                                : hasOffsetIn(previous, rangeStart, rangeEnd))) {
                found.offsets = offsets;
                found.count = count;
                searchRowByPieces(rangeStart, rangeEnd, needle);
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
            var grown = new Int32Array(Math.max(1024, offsets.length * 2));
            grown.set(offsets);
            offsets = grown;
        }
        offsets[count++] = position;
        position = next === null ? text.indexOf(needle, position + length) : next(position + length);
    }
    found.offsets = offsets;
    found.count = count;
}

// The previous matches at or after `from` where the needle occurs in the copy, one per call.
function candidatesAmong(previous, text, needle) {
    var index = 0;
    return function (from) {
        var offsets = previous.offsets;
        while (index < previous.count) {
            var candidate = offsets[index++];
            if (candidate >= from && text.startsWith(needle, candidate)) {
                return candidate;
            }
        }
        return -1;
    };
}

// At most one previous match in this many characters of the rows' text: a text extending the
// previous one is searched among its matches.
var sparseCandidates = 256;

function lowerBound(offsets, count, value) {
    var low = 0;
    var high = count;
    while (low < high) {
        var middle = (low + high) >>> 1;
        if (offsets[middle] < value) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

function hasOffsetIn(matches, start, end) {
    var i = lowerBound(matches.offsets, matches.count, start);
    return i < matches.count && matches.offsets[i] < end;
}

// The rows.text offset of the current match when it lies in the rows, else -1.
function currentRowOffset() {
    var index = searchState.currentIndex - 1 - searchState.before.length;
    return index >= 0 && index < searchState.count ? searchState.offsets[index] : -1;
}

// The marks of one rendered row: [start, end, isCurrent] in rows.text offsets. A match ends
// needle-length later, or at its piece's end where lower-casing lengthened the text before it.
function rowHighlights(row) {
    var count = searchState.count;
    if (count === 0) {
        return null;
    }
    rows.ensureIndex();
    var start = rows.rowStart[row];
    var end = rows.rowStart[row + 1];
    var offsets = searchState.offsets;
    var i = lowerBound(offsets, count, start);
    if (i >= count || offsets[i] >= end) {
        return null;
    }
    var current = currentRowOffset();
    var length = searchState.needle.length;
    var marks = [];
    var pieceEnd = -1;
    for (; i < count && offsets[i] < end; i++) {
        var offset = offsets[i];
        if (offset > pieceEnd) {
            pieceEnd = rows.text.indexOf(searchMarkers.piece, offset);
        }
        marks.push([offset, Math.min(offset + length, pieceEnd), offset === current]);
    }
    return marks;
}

// ---- The current match ---------------------------------------------------------------------

function isRowMatch(index) {
    var inRows = index - 1 - searchState.before.length;
    return inRows >= 0 && inRows < searchState.count;
}

function bodyMark(index) {
    var before = searchState.before.length;
    return index <= before ? searchState.before[index - 1]
                           : searchState.after[index - 1 - before - searchState.count];
}

// The rows script expands what hides the match, brings its row into view and scrolls a clipped
// row within itself; a row indented past the viewport's width needs the page itself scrolled
// sideways too.
function showRowMatch() {
    var row = rows.rowOfOffset(currentRowOffset());
    rows.reveal(row);
    var element = rows.rowElement(row);
    var mark = element && element.querySelector('mark.highlight.current');
    if (mark) {
        scrollSideways(mark);
    }
}

function scrollSideways(mark) {
    var box = mark.getBoundingClientRect();
    var width = document.documentElement.clientWidth;
    var shift = 0;
    if (box.left < 0) {
        shift = box.left;
    } else if (box.right > width) {
        shift = Math.min(box.left, box.right - width);
    }
    if (shift !== 0) {
        window.scrollBy(Math.round(shift), 0);
    }
}

function showCurrentMatch() {
    if (isRowMatch(searchState.currentIndex)) {
        showRowMatch();
        return;
    }
    var mark = bodyMark(searchState.currentIndex);
    mark.classList.add('current');
    mark.scrollIntoView({behavior: 'smooth', block: 'center'});
}

// ---- The page functions the host calls -----------------------------------------------------

function highlightMatches(searchText) {
    var previous = {needle: searchState.needle, offsets: searchState.offsets,
                    count: searchState.count};
    unmarkBody();
    searchState.before = [];
    searchState.after = [];
    searchState.offsets = new Int32Array(0);
    searchState.count = 0;
    searchState.currentIndex = 0;
    searchState.needle = '';
    if (!searchText) {
        rows.refresh();
        postSearchUpdate();
        return;
    }
    var needle = String(searchText).toLowerCase();
    markBody(needle);
    ensureLowered();
    // Checking a candidate costs about ten times what indexOf spends per character it passes,
    // so the previous matches are worth it only when they are sparse.
    var extendsPrevious = previous.needle !== '' && needle.length > previous.needle.length &&
                          needle.startsWith(previous.needle) &&
                          previous.count * sparseCandidates < lowered.text.length &&
                          !hasBorder(previous.needle);
    searchRows(needle, extendsPrevious ? previous : null);
    searchState.needle = needle;
    searchState.offsets = found.offsets;
    searchState.count = found.count;
    found = {offsets: previous.offsets.length >= 1024 ? previous.offsets : new Int32Array(1024),
             count: 0};
    if (searchTotal() > 0) {
        searchState.currentIndex = 1;
    }
    if (isRowMatch(searchState.currentIndex)) {
        showRowMatch();
    } else {
        rows.refresh();
        if (searchState.currentIndex > 0) {
            showCurrentMatch();
        }
    }
    postSearchUpdate();
}

function navigateMatch(forward) {
    var total = searchTotal();
    if (total === 0) {
        return;
    }
    var index = searchState.currentIndex;
    var wasRow = isRowMatch(index);
    if (index >= 1 && index <= total && !wasRow) {
        bodyMark(index).classList.remove('current');
    }
    if (forward) {
        searchState.currentIndex = index >= total ? 1 : index + 1;
    } else {
        searchState.currentIndex = index <= 1 ? total : index - 1;
    }
    if (wasRow && !isRowMatch(searchState.currentIndex)) {
        rows.refresh();
    }
    showCurrentMatch();
    postSearchUpdate();
}

// Where the rows' data is fetched, the host may search before it has arrived: those calls are
// answered once it has, a new search replacing the calls before it, as it would have done.
var callsBeforeRows = [];

function whenSearchable(call, replacesEarlierCalls) {
    if (callsBeforeRows === null) {
        call();
        return;
    }
    if (replacesEarlierCalls) {
        callsBeforeRows = [];
    }
    callsBeforeRows.push(call);
}

whenRows(function () {
    searchMarkers = rows.markers;
    rows.setHighlighter(rowHighlights);
    requestAnimationFrame(function () {
        setTimeout(lowerInBackground, 0);
    });
    var calls = callsBeforeRows;
    callsBeforeRows = null;
    calls.forEach(function (call) {
        call();
    });
});
window.highlightMatches = function (searchText) {
    whenSearchable(function () {
        highlightMatches(searchText);
    }, true);
};
window.navigateMatch = function (forward) {
    whenSearchable(function () {
        navigateMatch(forward);
    }, false);
};
