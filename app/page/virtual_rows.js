// The virtualised page's rows: data, rendering, collapsing, copying.
