// Search over the virtualised page's rows: highlightMatches and navigateMatch.
