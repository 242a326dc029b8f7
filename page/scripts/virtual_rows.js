// The virtualised page's rows: the document arrives as data, and only the rows in view (and a
// screen above and below) exist as elements. Runs in one scope with the search script, which
// uses the `rows` object defined here.
//
// The data is the page's own (inline) or, in the window, fetched from the address its element
// names once the page has loaded; `rows` is null until it has arrived (see whenRows).
var rows = null;
var rowsWaiting = [];

// Runs `callback` once the rows exist: now, or when the fetched data has arrived.
function whenRows(callback) {
    if (rowsWaiting === null) {
        callback();
    } else {
        rowsWaiting.push(callback);
    }
}

function makeRows(data) {
    var TOGGLE_GLYPH = '\u25BC';
    // WebKit clamps layout sizes at 2^25 px; the container stays below a quarter of that, so
    // that a page zoom of up to 400 % keeps it whole.
    var SPACER_CAP = 8000000;
    // Pieces longer than this are written as a window of this many characters.
    var PIECE_WINDOW = 4000;
    // A row whose text is longer than this shows its whole text as its tooltip, up to a length
    // the tooltip can still lay out without stalling the window.
    var TITLE_LENGTH = 60;
    var TITLE_LIMIT = 200000;
    // Rows indexed per slice of background work after the first paint.
    var INDEX_SLICE = 200000;

    var text = data.pieces;
    var kinds = data.kinds || '';
    var listing = data.listing === true;
    var PIECE = data.markers.charAt(0);
    var ROW = data.markers.charAt(1);
    var TOGGLE = data.markers.charAt(2);
    var container = document.getElementById('virtual-content');

    // rowStart[r] is the offset in `text` of row r's first character, known for r <= indexed.
    var count;
    var rowStart;
    var indexed = 0;
    if (listing) {
        // A listing has no kinds to count its rows by; its first screen is at the error line,
        // which needs the index up to there anyway.
        rowStart = indexAllRows();
        count = rowStart.length - 1;
        indexed = count;
    } else {
        count = kinds.length;
        rowStart = new Int32Array(count + 1);
    }

    function indexAllRows() {
        var starts = new Int32Array(1024);
        var n = 0;
        var position = 0;
        while (position < text.length) {
            if (n + 1 >= starts.length) {
                var grown = new Int32Array(starts.length * 2);
                grown.set(starts);
                starts = grown;
            }
            starts[n++] = position;
            position = text.indexOf(ROW, position) + 1;
        }
        starts[n] = text.length;
        return starts.subarray(0, n + 1);
    }

    function indexRowsUpTo(row) {
        var last = Math.min(row, count);
        while (indexed < last) {
            rowStart[indexed + 1] = text.indexOf(ROW, rowStart[indexed]) + 1;
            indexed++;
        }
    }

    function ensureIndex() {
        indexRowsUpTo(count);
    }

    // The last position in the first `length` entries of an ascending array whose entry is at
    // most `value` (0 when none is).
    function lastAtMost(array, length, value) {
        var low = 0;
        var high = length - 1;
        while (low < high) {
            var middle = (low + high + 1) >> 1;
            if (array[middle] <= value) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        return low;
    }

    function rowOfOffset(offset) {
        ensureIndex();
        return lastAtMost(rowStart, count, offset);
    }

    // --- Kinds and structure ---------------------------------------------------------------

    function kindCode(row) {
        return kinds.charCodeAt(row) - 0x100;
    }
    function depthOf(row) {
        return listing ? 0 : kindCode(row) >> 4;
    }
    function isCollapsible(row) {
        return !listing && (kindCode(row) & 7) === 0;
    }
    function isElement(row) {
        return (kindCode(row) & 8) !== 0;
    }
    var CLASS_NAMES = ['', 'string', 'number', 'boolean', 'null', 'bracket'];

    // subtreeEnd[r]: the first row after r's subtree; parent[r]: the collapsible row holding r,
    // or -1. Built from the depths in one pass.
    var subtreeEnd = null;
    var parent = null;
    function ensureStructure() {
        if (subtreeEnd !== null || listing) {
            return;
        }
        var ends = new Int32Array(count);
        var parents = new Int32Array(count);
        var stack = new Int32Array(1024);
        var top = 0;
        for (var r = 0; r < count; r++) {
            var depth = depthOf(r);
            while (top > 0 && depthOf(stack[top - 1]) >= depth) {
                ends[stack[--top]] = r;
            }
            parents[r] = top > 0 ? stack[top - 1] : -1;
            ends[r] = r + 1;
            if (isCollapsible(r)) {
                if (top === stack.length) {
                    var grown = new Int32Array(stack.length * 2);
                    grown.set(stack);
                    stack = grown;
                }
                stack[top++] = r;
            }
        }
        while (top > 0) {
            ends[stack[--top]] = count;
        }
        subtreeEnd = ends;
        parent = parents;
    }

    // --- Collapsing and the visible rows ---------------------------------------------------

    var collapsed = listing ? null : new Uint8Array(count);
    var collapsedCount = 0;
    // null while nothing is collapsed: then visible index and row are the same.
    var visible = null;
    var visibleCount = count;

    function rebuildVisible() {
        if (collapsedCount === 0) {
            visible = null;
            visibleCount = count;
            return;
        }
        ensureStructure();
        var list = visible !== null && visible.length === count ? visible : new Int32Array(count);
        var n = 0;
        var r = 0;
        while (r < count) {
            list[n++] = r;
            r = collapsed[r] ? subtreeEnd[r] : r + 1;
        }
        visible = list;
        visibleCount = n;
    }

    function rowAtVisible(index) {
        return visible === null ? index : visible[index];
    }

    // The visible index of a visible row, or of the last visible row before it.
    function visibleIndexOf(row) {
        if (visible === null) {
            return row;
        }
        return lastAtMost(visible, visibleCount, row);
    }

    function setCollapsed(row, state) {
        if (!isCollapsible(row) || (collapsed[row] === 1) === state) {
            return false;
        }
        collapsed[row] = state ? 1 : 0;
        collapsedCount += state ? 1 : -1;
        var element = rendered.get(row);
        if (element) {
            element.filled = -1;
        }
        return true;
    }

    function toggle(id) {
        var row = /^[0-9]+$/.test(String(id)) ? Number(id) : -1;
        if (!(row >= 0 && row < count) || !isCollapsible(row)) {
            return;
        }
        ensureStructure();
        var anchor = topAnchor();
        setCollapsed(row, !collapsed[row]);
        rebuildVisible();
        keepAnchor(anchor);
        render();
    }

    // --- Geometry --------------------------------------------------------------------------

    var pitch = 18;
    var probe = null;
    // The container's scroll position in its own coordinates (the real one) and in the
    // coordinates of all visible rows stacked at the pitch (the virtual one). They differ only
    // when the rows are taller than the capped container.
    var virtualTop = 0;
    var lastScroll = null;
    var pendingScroll = null;

    function totalHeight() {
        return visibleCount * pitch;
    }
    function scaled() {
        return totalHeight() > SPACER_CAP;
    }
    function containerTop() {
        return container.getBoundingClientRect().top + window.scrollY;
    }
    function maxScroll() {
        return Math.max(0, document.documentElement.scrollHeight - window.innerHeight);
    }

    // The virtual position the real scroll position stands for at the two ends and in
    // proportion in between; the ends stay where they are without scaling.
    function proportionalTop(scroll, top) {
        var max = maxScroll();
        if (max <= 0) {
            return scroll - top;
        }
        var virtualMax = max - top + (totalHeight() - container.offsetHeight);
        return -top + scroll / max * (virtualMax + top);
    }
    function proportionalScroll(virtual, top) {
        var max = maxScroll();
        var virtualMax = max - top + (totalHeight() - container.offsetHeight);
        if (virtualMax + top <= 0) {
            return 0;
        }
        return Math.round((virtual + top) / (virtualMax + top) * max);
    }

    // Follows the real scroll position: small steps move the rows one to one, large ones
    // (dragging the scroll bar's thumb) in proportion, and the ends meet the ends.
    function updateVirtualTop() {
        var scroll = window.scrollY;
        var top = containerTop();
        if (!scaled()) {
            virtualTop = scroll - top;
        } else if (pendingScroll !== null && Math.abs(scroll - pendingScroll.scroll) < 1) {
            virtualTop = pendingScroll.virtualTop;
        } else if (scroll <= 0 || scroll >= maxScroll() || lastScroll === null ||
                   Math.abs(scroll - lastScroll) > 2 * window.innerHeight) {
            virtualTop = proportionalTop(scroll, top);
        } else {
            virtualTop += scroll - lastScroll;
            scheduleResync();
        }
        pendingScroll = null;
        lastScroll = scroll;
        return {scroll: scroll, top: top};
    }

    // Steps taken one to one leave the scroll bar behind the rows; once scrolling pauses, the
    // real position moves to where the rows are, without moving them, so that the thumb tells
    // the truth and further steps never run into the ends early.
    var resyncTimer = null;
    function scheduleResync() {
        if (resyncTimer !== null) {
            clearTimeout(resyncTimer);
        }
        resyncTimer = setTimeout(function () {
            resyncTimer = null;
            if (scaled() && window.scrollY === lastScroll) {
                scrollToVirtual(virtualTop);
            }
        }, 200);
    }

    // Puts the viewport's top at this virtual position.
    function scrollToVirtual(virtual) {
        var top = containerTop();
        var scroll;
        if (!scaled()) {
            scroll = Math.max(0, Math.min(virtual + top, maxScroll()));
            virtualTop = scroll - top;
        } else {
            scroll = Math.max(0, Math.min(proportionalScroll(virtual, top), maxScroll()));
            virtualTop = virtual;
            pendingScroll = {scroll: scroll, virtualTop: virtual};
        }
        lastScroll = scroll;
        window.scrollTo(window.scrollX, scroll);
    }

    // The row at the viewport's top and how far into it the top is, as a fraction of a row.
    function topAnchor() {
        updateVirtualTop();
        var position = Math.max(0, virtualTop);
        var index = Math.min(Math.floor(position / pitch), Math.max(0, visibleCount - 1));
        return {row: rowAtVisible(index), fraction: (position - index * pitch) / pitch,
                before: Math.min(0, virtualTop)};
    }
    function keepAnchor(anchor) {
        updateContainerHeight();
        if (anchor.before < 0) {
            scrollToVirtual(anchor.before);
            return;
        }
        scrollToVirtual((visibleIndexOf(anchor.row) + anchor.fraction) * pitch);
    }

    function updateContainerHeight() {
        container.style.height = Math.min(totalHeight(), SPACER_CAP) + 'px';
    }

    function createProbe() {
        probe = document.createElement('div');
        probe.className = 'virtual-probe';
        probe.setAttribute('aria-hidden', 'true');
        var lines = listing ? ['1', '2', '3'] : [TOGGLE_GLYPH, '', ''];
        for (var i = 0; i < lines.length; i++) {
            var line = document.createElement('div');
            if (listing) {
                line.className = 'raw-line';
                line.appendChild(span('line-number', lines[i]));
                line.appendChild(span('line-content', 'Xg'));
            } else {
                line.className = 'line';
                if (lines[i]) {
                    line.appendChild(span('toggle', lines[i]));
                }
                line.appendChild(span('key', 'Xg'));
                line.appendChild(document.createTextNode(': '));
                line.appendChild(i === 0 ? span('collapsed-preview visible', '1 items')
                                         : span('string', 'Xg'));
            }
            probe.appendChild(line);
        }
        container.appendChild(probe);
    }

    // Lines stack at the height the engine gives their line boxes, which is not simply the
    // line height times the font size; rows take the largest step between the probe's lines.
    function measurePitch() {
        var lines = probe.children;
        var first = lines[0].getBoundingClientRect().top;
        var second = lines[1].getBoundingClientRect().top;
        var third = lines[2].getBoundingClientRect().top;
        var measured = Math.max(second - first, third - second);
        return measured > 0 ? measured : pitch;
    }

    function applyPitch(measured) {
        pitch = measured;
        container.style.setProperty('--row-pitch', pitch + 'px');
    }

    function onProbeResized() {
        var measured = measurePitch();
        if (Math.abs(measured - pitch) < 0.01) {
            render();
            return;
        }
        var anchor = topAnchor();
        applyPitch(measured);
        for (var element of rendered.values()) {
            element.top = null;
        }
        keepAnchor(anchor);
        render();
    }

    // --- Rendering -------------------------------------------------------------------------

    var rendered = new Map(); // row -> element
    var spare = [];
    var pinned = new Set(); // rows holding an end of the selection
    var generation = 0; // bumped when every rendered row must be written anew
    var highlighter = null;
    var frameRequested = false;

    function span(className, content) {
        var element = document.createElement('span');
        element.className = className;
        element.textContent = content;
        return element;
    }

    function pieceBounds(row) {
        indexRowsUpTo(row + 1);
        var bounds = [];
        var start = rowStart[row];
        var end = rowStart[row + 1] - 1; // the row marker
        while (start < end) {
            var stop = text.indexOf(PIECE, start);
            bounds.push(start, stop);
            start = stop + 1;
        }
        return bounds;
    }

    function displayed(piece) {
        return piece === TOGGLE ? TOGGLE_GLYPH : piece;
    }

    // Writes text[start, end) into `target`, with marks; `marks` are the row's marks, sorted.
    // A long piece is written as a window that holds the current mark when it has one.
    function writePiece(target, start, end, marks, current, listingLine) {
        var from = start;
        var to = end;
        if (end - start > PIECE_WINDOW) {
            var focus = current !== null && current[0] >= start && current[0] < end
                ? current[0] : start;
            from = Math.max(start, focus - (focus > start ? 40 : 0));
            to = Math.min(end, from + PIECE_WINDOW);
            from = Math.max(start, to - PIECE_WINDOW);
        }
        var position = from;
        for (var i = 0; marks !== null && i < marks.length; i++) {
            var mark = marks[i];
            var markStart = Math.max(mark[0], from);
            var markEnd = Math.min(mark[1], to);
            if (markStart >= markEnd) {
                continue;
            }
            if (markStart > position) {
                appendText(target, position, markStart, listingLine);
            }
            var element = document.createElement('mark');
            element.className = mark[2] ? 'highlight current' : 'highlight';
            appendText(element, markStart, markEnd, listingLine);
            target.appendChild(element);
            position = markEnd;
        }
        if (position < to) {
            appendText(target, position, to, listingLine);
        }
    }

    function appendText(target, start, end, listingLine) {
        var content = text.substring(start, end);
        if (content === TOGGLE) {
            content = TOGGLE_GLYPH;
        } else if (listingLine) {
            content = content.replace(/\n/g, ' '); // a lone CR in a line keeps it one line
        }
        target.appendChild(document.createTextNode(content));
    }

    function currentMarkOf(marks) {
        for (var i = 0; marks !== null && i < marks.length; i++) {
            if (marks[i][2]) {
                return marks[i];
            }
        }
        return null;
    }

    // The row's text as a reader sees it, for the tooltip and for copying.
    function rowText(row, bounds) {
        var parts = [];
        for (var i = 0; i < bounds.length; i += 2) {
            var piece = text.substring(bounds[i], bounds[i + 1]);
            if (piece === TOGGLE) {
                continue;
            }
            if (listing && i === 0) {
                continue; // the line number is not part of the line
            }
            if (!listing && isCollapsible(row) && i === bounds.length - 2) {
                if (!collapsed[row]) {
                    continue; // the preview shows only while collapsed
                }
                piece = ' ' + piece;
            }
            parts.push(piece);
        }
        var joined = parts.join('');
        return listing && joined === '\u00A0' ? '' : joined;
    }

    function fillTreeRow(element, row, bounds, marks, current) {
        var depth = depthOf(row);
        var collapsible = isCollapsible(row);
        element.className = 'line';
        element.setAttribute('role', 'treeitem');
        element.setAttribute('aria-level', String(depth + 1));
        element.style.paddingLeft = (16 * depth + (collapsible ? 0 : 16)) + 'px';
        var pieces = bounds.length / 2;
        var index = 0;
        function next(className) {
            var start = bounds[2 * index];
            var end = bounds[2 * index + 1];
            index++;
            var target = className === null ? element : span(className, '');
            writePiece(target, start, end, marks, current, false);
            if (target !== element) {
                element.appendChild(target);
            }
            return target;
        }
        var keyClass = isElement(row) ? 'bracket' : 'key';
        if (collapsible) {
            var isCollapsed = collapsed[row] === 1;
            element.setAttribute('aria-expanded', isCollapsed ? 'false' : 'true');
            var toggleElement = next('toggle');
            toggleElement.id = 'toggle-' + row;
            if (isCollapsed) {
                toggleElement.classList.add('collapsed');
            }
            next(keyClass);
            if (pieces === 4) {
                next(null); // the colon after a key
            }
            var preview = next('collapsed-preview');
            preview.id = 'preview-' + row;
            if (isCollapsed) {
                preview.classList.add('visible');
            }
        } else {
            element.removeAttribute('aria-expanded');
            next(keyClass);
            next(null); // ": " or " "
            next(CLASS_NAMES[kindCode(row) & 7]);
        }
    }

    function fillListingRow(element, row, bounds, marks, current) {
        element.className = row + 1 === data.errorLine ? 'raw-line error-line' : 'raw-line';
        element.setAttribute('role', 'listitem');
        var number = span('line-number', '');
        writePiece(number, bounds[0], bounds[1], marks, current, true);
        element.appendChild(number);
        var content = span('line-content', '');
        writePiece(content, bounds[2], bounds[3], marks, current, true);
        element.appendChild(content);
    }

    function fill(element, row) {
        // Emptied completely: a recycled row keeps nothing of the row it showed before.
        element.textContent = '';
        if (element.scrolledSideways) {
            element.scrollLeft = 0;
            element.scrolledSideways = false;
        }
        element.removeAttribute('title');
        element.removeAttribute('aria-expanded');
        element.removeAttribute('style');
        element.top = null;
        var bounds = pieceBounds(row);
        var marks = highlighter !== null ? highlighter(row) : null;
        var current = currentMarkOf(marks);
        if (listing) {
            fillListingRow(element, row, bounds, marks, current);
        } else {
            fillTreeRow(element, row, bounds, marks, current);
        }
        var longest = 0;
        for (var i = 0; i < bounds.length; i += 2) {
            longest = Math.max(longest, bounds[i + 1] - bounds[i]);
        }
        var whole = longest > TITLE_LENGTH || text.substring(rowStart[row], rowStart[row + 1])
            .indexOf('\n') !== -1 ? rowText(row, bounds) : '';
        if (whole.length > TITLE_LIMIT) {
            whole = whole.substring(0, TITLE_LIMIT) + '\u2026';
        }
        if (whole !== '') {
            element.title = whole;
        }
        element.row = row;
        element.filled = generation;
    }

    function place(element, position) {
        if (element.top !== position) {
            element.top = position;
            element.style.top = position + 'px';
        }
    }

    function requestRender() {
        if (!frameRequested) {
            frameRequested = true;
            requestAnimationFrame(function () {
                frameRequested = false;
                render();
            });
        }
    }

    function render() {
        var where = updateVirtualTop();
        var viewport = window.innerHeight;
        var overscan = viewport;
        var first = Math.max(0, Math.floor((virtualTop - overscan) / pitch));
        var last = Math.min(visibleCount - 1, Math.floor((virtualTop + viewport + overscan) / pitch));
        // Rows at container position = real scroll offset + (virtual row position - virtualTop).
        var shift = (where.scroll - where.top) - virtualTop;
        var wanted = new Set();
        for (var index = first; index <= last; index++) {
            wanted.add(rowAtVisible(index));
        }
        for (var entry of rendered) {
            if (wanted.has(entry[0])) {
                continue;
            }
            if (pinned.has(entry[0])) {
                // Kept for the selection it holds, out of sight: its place may be stale.
                entry[1].classList.add('virtual-parked');
            } else {
                rendered.delete(entry[0]);
                entry[1].remove();
                spare.push(entry[1]);
            }
        }
        for (index = first; index <= last; index++) {
            var row = rowAtVisible(index);
            var element = rendered.get(row);
            if (!element) {
                element = spare.pop() || document.createElement('div');
                fill(element, row);
                rendered.set(row, element);
                container.appendChild(element);
            } else if (element.filled !== generation) {
                fill(element, row);
            } else {
                element.classList.remove('virtual-parked');
            }
            place(element, index * pitch + shift);
        }
    }

    function refresh() {
        generation++;
        render();
    }

    function reveal(row) {
        if (!(row >= 0 && row < count)) {
            return;
        }
        var changed = false;
        if (!listing) {
            ensureStructure();
            for (var ancestor = parent[row]; ancestor >= 0; ancestor = parent[ancestor]) {
                changed = setCollapsed(ancestor, false) || changed;
            }
        }
        if (changed) {
            rebuildVisible();
            updateContainerHeight();
        }
        // Every row is written anew: the current mark moved, and a long piece's window follows it.
        generation++;
        updateVirtualTop();
        var position = visibleIndexOf(row) * pitch;
        var viewport = window.innerHeight;
        if (position < virtualTop || position + pitch > virtualTop + viewport) {
            scrollToVirtual(position - (viewport - pitch) / 2);
        }
        render();
        revealSideways(row);
    }

    // A clipped row scrolls within itself so that its current mark shows.
    function revealSideways(row) {
        var element = rendered.get(row);
        if (!element) {
            return;
        }
        var mark = element.querySelector('mark.current');
        if (mark === null) {
            return;
        }
        var scroller = listing ? element.querySelector('.line-content') : element;
        var box = scroller.getBoundingClientRect();
        var markBox = mark.getBoundingClientRect();
        if (markBox.right > box.right) {
            scroller.scrollLeft = markBox.left - box.left - box.width / 3;
            element.scrolledSideways = true;
        }
    }

    function rowElement(row) {
        return rendered.get(row) || null;
    }

    // --- Selection and copying -------------------------------------------------------------

    function rowOfNode(node) {
        while (node && node.parentNode !== container) {
            node = node.parentNode;
        }
        return node && node.row !== undefined ? node : null;
    }

    document.addEventListener('selectionchange', function () {
        var selection = document.getSelection();
        pinned.clear();
        if (selection && selection.rangeCount > 0) {
            for (var node of [selection.anchorNode, selection.focusNode]) {
                var element = rowOfNode(node);
                if (element !== null) {
                    pinned.add(element.row);
                }
            }
        }
    });

    // The engine's selection covers the rendered rows only: the rows between the two ends come
    // from the data, whole. An end outside the rows (a selection from the banner, or of the
    // whole page) takes in every row on that side.
    document.addEventListener('copy', function (event) {
        var selection = document.getSelection();
        if (!selection || selection.rangeCount === 0 || selection.isCollapsed) {
            return;
        }
        var range = selection.getRangeAt(0);
        if (!range.intersectsNode(container) || visibleCount === 0) {
            return;
        }
        var firstElement = rowOfNode(range.startContainer);
        var lastElement = rowOfNode(range.endContainer);
        if (firstElement !== null && firstElement === lastElement) {
            return; // within one row, the engine's copy is the row's
        }
        var lines = [];
        var from = 0;
        var to = visibleCount;
        var part = document.createRange();
        if (firstElement !== null) {
            part.setStart(range.startContainer, range.startOffset);
            part.setEnd(firstElement, firstElement.childNodes.length);
            lines.push(selectedText(part));
            from = visibleIndexOf(firstElement.row) + 1;
        } else if (container.contains(range.startContainer) === false) {
            part.setStart(range.startContainer, range.startOffset);
            part.setEndBefore(container);
            pushTrimmed(lines, selectedText(part));
        }
        if (lastElement !== null) {
            to = visibleIndexOf(lastElement.row);
        }
        for (var index = from; index < to; index++) {
            var row = rowAtVisible(index);
            lines.push(rowText(row, pieceBounds(row)));
        }
        if (lastElement !== null) {
            part = document.createRange();
            part.setStart(lastElement, 0);
            part.setEnd(range.endContainer, range.endOffset);
            lines.push(selectedText(part));
        } else if (container.contains(range.endContainer) === false) {
            part = document.createRange();
            part.setStartAfter(container);
            part.setEnd(range.endContainer, range.endOffset);
            pushTrimmed(lines, selectedText(part));
        }
        event.clipboardData.setData('text/plain', lines.join('\n'));
        event.preventDefault();
    });

    function pushTrimmed(lines, part) {
        var trimmed = part.trim();
        if (trimmed !== '') {
            lines.push(trimmed);
        }
    }

    // The part of a rendered row in a range, without the parts users cannot select (toggle
    // glyph, line number), as the engine would copy it.
    function selectedText(range) {
        var fragment = range.cloneContents();
        var skipped = fragment.querySelectorAll(
            '.toggle, .line-number, .collapsed-preview:not(.visible), script, style, .virtual-probe');
        for (var i = 0; i < skipped.length; i++) {
            skipped[i].remove();
        }
        return fragment.textContent;
    }

    // --- Start ------------------------------------------------------------------------------

    container.setAttribute('role', listing ? 'list' : 'tree');
    if (listing) {
        container.classList.add('raw-content', 'virtual-listing');
    }
    createProbe();
    applyPitch(measurePitch());
    updateContainerHeight();

    container.addEventListener('click', function (event) {
        var target = event.target;
        while (target && target !== container && !(target.classList &&
                                                   target.classList.contains('toggle'))) {
            target = target.parentNode;
        }
        if (target && target !== container && target.id.indexOf('toggle-') === 0) {
            toggle(target.id.substring(7));
        }
    });
    window.addEventListener('scroll', requestRender, {passive: true});
    // A row scrolled within itself (to show a mark far to the right) is scrolled back before it
    // shows another row; element scroll events do not bubble, but they can be captured.
    document.addEventListener('scroll', function (event) {
        var target = event.target;
        if (target && target.parentNode === container && target.row !== undefined) {
            target.scrolledSideways = target.scrollLeft !== 0;
        }
    }, {capture: true, passive: true});
    window.addEventListener('resize', requestRender);
    new ResizeObserver(onProbeResized).observe(probe);

    if (listing && data.errorLine >= 1 && data.errorLine <= count) {
        reveal(data.errorLine - 1);
    } else {
        render();
    }

    // The index is finished in slices after the first paint, so that searching later does not
    // pay for it and the first rows show as early as they can.
    function indexSlice() {
        if (indexed < count) {
            indexRowsUpTo(indexed + INDEX_SLICE);
            setTimeout(indexSlice, 0);
        } else {
            ensureStructure();
        }
    }
    requestAnimationFrame(function () {
        setTimeout(indexSlice, 0);
    });

    var api = {
        text: text,
        markers: {piece: PIECE, row: ROW, toggle: TOGGLE},
        count: count,
        listing: listing,
        container: container,
        rowStart: rowStart,
        ensureIndex: ensureIndex,
        rowOfOffset: rowOfOffset,
        setHighlighter: function (fn) {
            highlighter = fn || null;
        },
        refresh: refresh,
        reveal: reveal,
        rowElement: rowElement,
    };
    window.toggle = toggle;
    return api;
}

(function () {
    var element = document.getElementById('page-data');
    var content = JSON.parse(element.textContent);
    element.parentNode.removeChild(element);
    element = null;

    function arrived(data) {
        rows = makeRows(data);
        var waiting = rowsWaiting;
        rowsWaiting = null;
        waiting.forEach(function (callback) {
            callback();
        });
    }

    // A page whose data cannot be had says so where the rows would be, and stays a page with
    // no rows (searchable, as any page) rather than an empty one.
    function unavailable() {
        var banner = document.createElement('div');
        banner.className = 'error-banner';
        banner.textContent = 'Unable to show the document: its data could not be read';
        var container = document.getElementById('virtual-content');
        container.parentNode.insertBefore(banner, container);
        return {markers: '\u0080\u0081\u0082', pieces: '', kinds: ''};
    }

    if (!Array.isArray(content.parts)) {
        arrived(content);
        return;
    }
    // The data comes in parts, fetched at once and joined in order: the engine passes a fetched
    // resource on a few kilobytes at a time, so one long one arrives several times slower.
    Promise.all(content.parts.map(function (address) {
        return fetch(address).then(function (response) {
            return response.text();
        });
    }))
        .then(function (parts) {
            return JSON.parse(parts.join(''));
        })
        .catch(unavailable)
        .then(arrived);
})();
