// Typed arrays that grow, and a binary search over the first `length` entries of an ascending
// one, which the rows' index and the visible rows are.
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

    // A copy of `array` with room for twice as many entries (at least `minimum`).
    grown(array, minimum = 1024) {
        const bigger = new array.constructor(Math.max(minimum, array.length * 2));
        bigger.set(array);
        return bigger;
    },
});
