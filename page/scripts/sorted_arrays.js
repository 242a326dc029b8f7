// Binary searches over the first `length` entries of an ascending typed array, which the rows'
// index, the visible rows and the search's match offsets all are.
const SortedArrays = Object.freeze({
    // The last position whose entry is at most `value`; 0 when none is.
    lastAtMost(array, length, value) {
        let low = 0;
        let high = length - 1;
        while (low < high) {
            const middle = (low + high + 1) >> 1;
            if (array[middle] <= value) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        return low;
    },

    // The first position whose entry is at least `value`; `length` when none is.
    firstAtLeast(array, length, value) {
        let low = 0;
        let high = length;
        while (low < high) {
            const middle = (low + high) >>> 1;
            if (array[middle] < value) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    },

    // A copy of `array` with room for twice as many entries (at least `minimum`).
    grown(array, minimum = 1024) {
        const bigger = new array.constructor(Math.max(minimum, array.length * 2));
        bigger.set(array);
        return bigger;
    },
});
