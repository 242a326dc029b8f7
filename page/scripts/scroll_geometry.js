// Where the visible rows stand: every row one pitch high, measured from the engine, stacked in a
// container whose height stands for all of them. The engine clamps layout sizes at 2^25 px, so a
// container that would be taller is capped, and the page's scroll position (the real one) is
// mapped to a position among the rows (the virtual one): small steps one to one, large ones in
// proportion, the ends to the ends.
class ScrollGeometry {
    // The container stays below a quarter of the engine's limit, so that a page zoom of up to
    // 400 % keeps it whole.
    static #cap = 8000000;

    #container;
    #tree;
    #probe;
    pitch = 18;
    // The viewport's top in the coordinates of all visible rows stacked at the pitch.
    virtualTop = 0;
    #lastScroll = null;
    #pendingScroll = null;
    #resyncTimer = null;

    constructor(container, tree, listing) {
        this.#container = container;
        this.#tree = tree;
        this.#probe = ScrollGeometry.#makeProbe(listing);
        container.appendChild(this.#probe);
        this.#applyPitch(this.#measurePitch());
        this.updateHeight();
    }

    // Calls `changed` whenever the pitch may have changed (the font size did), with the anchor
    // to keep and whether the pitch really changed.
    observePitch(changed) {
        new ResizeObserver(() => {
            const measured = this.#measurePitch();
            if (Math.abs(measured - this.pitch) < 0.01) {
                changed(false);
                return;
            }
            const anchor = this.topAnchor();
            this.#applyPitch(measured);
            this.keepAnchor(anchor);
            changed(true);
        }).observe(this.#probe);
    }

    updateHeight() {
        this.#container.style.height = Math.min(this.#totalHeight(), ScrollGeometry.#cap) + 'px';
    }

    // Follows the real scroll position; returns it with the container's top in the page.
    update() {
        const scroll = window.scrollY;
        const top = this.#containerTop();
        const pending = this.#pendingScroll;
        if (!this.#scaled()) {
            this.virtualTop = scroll - top;
        } else if (pending !== null && Math.abs(scroll - pending.scroll) < 1) {
            this.virtualTop = pending.virtualTop;
        } else if (scroll <= 0 || scroll >= this.#maxScroll() || this.#lastScroll === null ||
                   Math.abs(scroll - this.#lastScroll) > 2 * window.innerHeight) {
            this.virtualTop = this.#proportionalTop(scroll, top);
        } else {
            this.virtualTop += scroll - this.#lastScroll;
            this.#scheduleResync();
        }
        this.#pendingScroll = null;
        this.#lastScroll = scroll;
        return {scroll, top};
    }

    // The visible rows from a screen above the viewport to a screen below it, and what to add to
    // a row's virtual position to place it in the container.
    span() {
        const where = this.update();
        const viewport = window.innerHeight;
        const pitch = this.pitch;
        return {
            first: Math.max(0, Math.floor((this.virtualTop - viewport) / pitch)),
            last: Math.min(this.#tree.visibleCount - 1,
                           Math.floor((this.virtualTop + 2 * viewport) / pitch)),
            shift: where.scroll - where.top - this.virtualTop,
        };
    }

    // Scrolls the visible row at `index` into view, centred, unless it is in view already.
    bringIntoView(index) {
        this.update();
        const position = index * this.pitch;
        const viewport = window.innerHeight;
        if (position < this.virtualTop || position + this.pitch > this.virtualTop + viewport) {
            this.scrollToVirtual(position - (viewport - this.pitch) / 2);
        }
    }

    // Scrolls as little as brings the visible row at `index` wholly into view, as a cursor moving
    // row by row wants.
    keepInView(index) {
        this.update();
        const position = index * this.pitch;
        const viewport = window.innerHeight;
        if (position < this.virtualTop) {
            this.scrollToVirtual(position);
        } else if (position + this.pitch > this.virtualTop + viewport) {
            this.scrollToVirtual(position + this.pitch - viewport);
        }
    }

    // The row at the viewport's top and how far into it the top is, as a fraction of a row.
    topAnchor() {
        this.update();
        const position = Math.max(0, this.virtualTop);
        const index =
            Math.min(Math.floor(position / this.pitch), Math.max(0, this.#tree.visibleCount - 1));
        return {
            row: this.#tree.rowAt(index),
            fraction: (position - index * this.pitch) / this.pitch,
            before: Math.min(0, this.virtualTop),
        };
    }

    // Puts that row back where it was at the viewport's top, after rows above it changed.
    keepAnchor(anchor) {
        this.updateHeight();
        if (anchor.before < 0) {
            this.scrollToVirtual(anchor.before);
            return;
        }
        this.scrollToVirtual((this.#tree.visibleIndexOf(anchor.row) + anchor.fraction) * this.pitch);
    }

    // Puts the viewport's top at this virtual position.
    scrollToVirtual(virtual) {
        const top = this.#containerTop();
        let scroll;
        if (!this.#scaled()) {
            scroll = Math.max(0, Math.min(virtual + top, this.#maxScroll()));
            this.virtualTop = scroll - top;
        } else {
            scroll = Math.max(0, Math.min(this.#proportionalScroll(virtual, top), this.#maxScroll()));
            this.virtualTop = virtual;
            this.#pendingScroll = {scroll, virtualTop: virtual};
        }
        this.#lastScroll = scroll;
        window.scrollTo(window.scrollX, scroll);
    }

    #totalHeight() {
        return this.#tree.visibleCount * this.pitch;
    }

    #scaled() {
        return this.#totalHeight() > ScrollGeometry.#cap;
    }

    #containerTop() {
        return this.#container.getBoundingClientRect().top + window.scrollY;
    }

    #maxScroll() {
        return Math.max(0, document.documentElement.scrollHeight - window.innerHeight);
    }

    // The virtual position the real one stands for at the two ends and in proportion in between.
    #proportionalTop(scroll, top) {
        const max = this.#maxScroll();
        if (max <= 0) {
            return scroll - top;
        }
        const virtualMax = max - top + (this.#totalHeight() - this.#container.offsetHeight);
        return -top + scroll / max * (virtualMax + top);
    }

    #proportionalScroll(virtual, top) {
        const max = this.#maxScroll();
        const virtualMax = max - top + (this.#totalHeight() - this.#container.offsetHeight);
        if (virtualMax + top <= 0) {
            return 0;
        }
        return Math.round((virtual + top) / (virtualMax + top) * max);
    }

    // Steps taken one to one leave the scroll bar behind the rows; once scrolling pauses, the
    // real position moves to where the rows are, without moving them, so that the thumb tells
    // the truth and further steps never run into the ends early.
    #scheduleResync() {
        if (this.#resyncTimer !== null) {
            clearTimeout(this.#resyncTimer);
        }
        this.#resyncTimer = setTimeout(() => {
            this.#resyncTimer = null;
            if (this.#scaled() && window.scrollY === this.#lastScroll) {
                this.scrollToVirtual(this.virtualTop);
            }
        }, 200);
    }

    #applyPitch(measured) {
        this.pitch = measured;
        this.#container.style.setProperty('--row-pitch', measured + 'px');
    }

    // Lines stack at the height the engine gives their line boxes, which is not simply the line
    // height times the font size; rows take the largest step between the probe's lines.
    #measurePitch() {
        const tops = Array.from(this.#probe.children, (line) => line.getBoundingClientRect().top);
        const measured = Math.max(tops[1] - tops[0], tops[2] - tops[1]);
        return measured > 0 ? measured : this.pitch;
    }

    // Three lines in normal flow, of the rows' own classes: a single absolutely placed line
    // drifted by a pixel every few rows.
    static #makeProbe(listing) {
        const {className, glyph} = Protocol;
        const probe = document.createElement('div');
        probe.className = 'virtual-probe';
        probe.setAttribute('aria-hidden', 'true');
        for (let i = 0; i < 3; i++) {
            const line = document.createElement('div');
            if (listing) {
                line.className = className.rawLine;
                line.append(RowElements.span(className.lineNumber, String(i + 1)),
                            RowElements.span(className.lineContent, 'Xg'));
            } else {
                line.className = className.line;
                if (i === 0) {
                    line.append(RowElements.span(className.toggle, glyph.toggle));
                }
                line.append(RowElements.span(className.key, 'Xg'), ': ',
                            i === 0 ? RowElements.span(className.preview + ' ' + className.visible,
                                                       '1 items')
                                    : RowElements.span(Protocol.rowClassNames[Protocol.rowClass.string], 'Xg'));
            }
            probe.appendChild(line);
        }
        return probe;
    }
}
