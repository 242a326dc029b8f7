// The all-markup page: every line is an element, so collapsing is a matter of the markup's
// classes and the search marks the body's own text.
const MarkupPage = (() => {
    const {className, idPrefix} = Protocol;

    function toggle(id) {
        const content = document.getElementById(idPrefix.content + id);
        const toggleElement = document.getElementById(idPrefix.toggle + id);
        if (!content || !toggleElement) {
            return;
        }
        const collapsed = content.classList.toggle(className.collapsed);
        toggleElement.classList.toggle(className.collapsed, collapsed);
        const preview = document.getElementById(idPrefix.preview + id);
        if (preview) {
            preview.classList.toggle(className.visible, collapsed);
        }
    }

    // A current match inside collapsed nodes would be out of sight: every collapsed node around
    // it opens exactly as a click on its toggle would. A match in a node's own preview or toggle
    // stands outside that node's content and leaves the node as it is.
    function expandAround(node) {
        for (let element = node.parentElement; element; element = element.parentElement) {
            if (element.classList.contains(className.content) &&
                element.classList.contains(className.collapsed) &&
                element.id.startsWith(idPrefix.content)) {
                toggle(element.id.substring(idPrefix.content.length));
            }
        }
    }

    // The search's matches: marks in the body's text.
    class Matches {
        #marks = [];

        replace(needle) {
            BodyMarks.unmark(this.#marks);
            this.#marks = needle ? BodyMarks.mark(document.body, needle).marks : [];
            ErrorColumns.refresh(document.body);
            return this.#marks.length;
        }

        show(index, previous) {
            if (previous >= 1 && previous <= this.#marks.length) {
                this.#marks[previous - 1].classList.remove(className.current);
            }
            const mark = this.#marks[index - 1];
            mark.classList.add(className.current);
            expandAround(mark);
            mark.scrollIntoView({behavior: 'smooth', block: 'center'});
        }
    }

    return Object.freeze({
        // Publishes the page's three functions: the toggles' click handlers call toggle, the
        // host calls the other two.
        start() {
            const search = new MatchSearch(new Matches());
            window.toggle = toggle;
            window.highlightMatches = (searchText) => search.highlight(searchText);
            window.navigateMatch = (forward) => search.navigate(forward);
            ErrorColumns.refresh(document.body);
        },
    });
})();

MarkupPage.start();
