// The search both pages answer the host with: the current match and the number of matches, moved
// with wrap-around and reported after every search and every move. Where the matches are and how
// one is shown is the page's: `matches` replaces them (`replace(needle)` gives their number),
// shows one (`show(index, previous)`, both 1-based, previous 0 after a new search) and draws one
// as current where it is (`select(index)`), nothing expanded, scrolled or moved.
class MatchSearch {
    #matches;
    #current = 0;
    #total = 0;

    constructor(matches) {
        this.#matches = matches;
    }

    // Replaces every mark with the matches of the text (none for an empty text); the first
    // becomes current and is shown. With `current` (1-based, the search kept from the page
    // before), that match, or the first where there are fewer now, becomes current where it is:
    // the view restored around it wins.
    highlight(searchText, current) {
        this.#current = 0;
        this.#total = this.#matches.replace(searchText ? String(searchText).toLowerCase() : '');
        if (this.#total > 0 && (current === undefined || current === null)) {
            this.#current = 1;
            this.#matches.show(1, 0);
        } else if (this.#total > 0) {
            const kept = Number.isInteger(current) && current >= 1 && current <= this.#total;
            this.#current = kept ? current : 1;
            this.#matches.select(this.#current);
        }
        this.#report();
    }

    // The next match, or the previous one; nothing at all without matches.
    navigate(forward) {
        const total = this.#total;
        if (total === 0) {
            return;
        }
        const previous = this.#current;
        if (forward) {
            this.#current = previous >= total ? 1 : previous + 1;
        } else {
            this.#current = previous <= 1 ? total : previous - 1;
        }
        this.#matches.show(this.#current, previous);
        this.#report();
    }

    // The host registers the channel; a page opened elsewhere (a saved quessel-render page in a
    // browser) has none, and its search still works.
    #report() {
        const handlers = window.webkit && window.webkit.messageHandlers;
        if (handlers && handlers.matchUpdate) {
            handlers.matchUpdate.postMessage({current: this.#current, total: this.#total});
        }
    }
}
