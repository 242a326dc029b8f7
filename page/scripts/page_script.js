// Quessel page behaviour: collapsing tree nodes, and the search that reports to the host.
// Runs in one scope with text_marks.js, inside the page's strict-mode wrapper.
var searchState = {matches: [], currentIndex: 0};

function toggle(id) {
    var content = document.getElementById('content-' + id);
    var toggleElement = document.getElementById('toggle-' + id);
    if (!content || !toggleElement) {
        return;
    }
    var collapsed = content.classList.toggle('collapsed');
    toggleElement.classList.toggle('collapsed', collapsed);
    var preview = document.getElementById('preview-' + id);
    if (preview) {
        preview.classList.toggle('visible', collapsed);
    }
}

// The host registers the channel; a page opened elsewhere (a saved quessel-render page in a
// browser) has none, and its search still works.
function postMatchUpdate() {
    var handlers = window.webkit && window.webkit.messageHandlers;
    if (handlers && handlers.matchUpdate) {
        handlers.matchUpdate.postMessage(
            {current: searchState.currentIndex, total: searchState.matches.length});
    }
}

function removeMarks() {
    var marks = document.querySelectorAll('mark.highlight');
    for (var i = 0; i < marks.length; i++) {
        var mark = marks[i];
        var parent = mark.parentNode;
        while (mark.firstChild) {
            parent.insertBefore(mark.firstChild, mark);
        }
        parent.removeChild(mark);
    }
    document.body.normalize();
}

// Depth-first in document order, with an explicit stack: deeply nested documents must not
// exhaust the script engine's call stack. Children are taken before any of them is split.
function findMatches(root, needle) {
    var matches = [];
    var pending = [root];
    while (pending.length > 0) {
        var node = pending.pop();
        if (node.nodeType === Node.TEXT_NODE) {
            markTextNode(node, needle, matches);
        } else if (isSearchedElement(node)) {
            var children = node.childNodes;
            for (var i = children.length - 1; i >= 0; i--) {
                pending.push(children[i]);
            }
        }
    }
    return matches;
}

// A current match inside collapsed nodes would be out of sight: every collapsed node around
// it opens exactly as a click on its toggle would. A match in a node's own preview or toggle
// stands outside that node's content and leaves the node as it is.
function expandAround(node) {
    for (var element = node.parentElement; element; element = element.parentElement) {
        if (element.classList.contains('content') &&
            element.classList.contains('collapsed') && element.id.indexOf('content-') === 0) {
            toggle(element.id.substring('content-'.length));
        }
    }
}

function showCurrent() {
    var mark = searchState.matches[searchState.currentIndex - 1];
    mark.classList.add('current');
    expandAround(mark);
    mark.scrollIntoView({behavior: 'smooth', block: 'center'});
}

function highlightMatches(searchText) {
    removeMarks();
    searchState.matches = [];
    searchState.currentIndex = 0;
    if (!searchText) {
        postMatchUpdate();
        return;
    }
    searchState.matches = findMatches(document.body, String(searchText).toLowerCase());
    if (searchState.matches.length > 0) {
        searchState.currentIndex = 1;
        showCurrent();
    }
    postMatchUpdate();
}

function navigateMatch(forward) {
    var total = searchState.matches.length;
    if (total === 0) {
        return;
    }
    var index = searchState.currentIndex;
    if (index >= 1 && index <= total) {
        searchState.matches[index - 1].classList.remove('current');
    }
    if (forward) {
        searchState.currentIndex = index >= total ? 1 : index + 1;
    } else {
        searchState.currentIndex = index <= 1 ? total : index - 1;
    }
    showCurrent();
    postMatchUpdate();
}

window.toggle = toggle;
window.highlightMatches = highlightMatches;
window.navigateMatch = navigateMatch;
