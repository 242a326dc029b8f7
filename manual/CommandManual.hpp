// One program's command line described once: the table its --help text and its manual page are
// both written from, so that the two cannot disagree.
#pragma once

#include <string>
#include <vector>

namespace quessel::manual {

// Text fields are prose, one paragraph each and unwrapped: each renderer wraps or fills it for
// its own medium. In `usage` and `argument`, words in capitals stand for what the user supplies
// (FILE, N); every other word is typed as written.
struct Option {
    std::string names{};    // "-h, --help"
    std::string argument{}; // "light|dark"; empty for an option without a value
    std::string description{};
};

// A term and what it means: an exit status, an environment variable or a file.
struct Entry {
    std::string term{};
    std::string description{};
};

struct Example {
    std::string description{};
    std::string command{};
};

// Every member has an initialiser, so that a table names only the sections it has.
struct CommandManual {
    std::string name{};    // "quessel-render"
    std::string summary{}; // the manual page's NAME line after the dash
    // The forms of the command line after the program's name, one per line.
    std::vector<std::string> usage{};
    std::vector<std::string> description{}; // paragraphs
    std::vector<Option> options{};
    std::vector<Entry> exitStatuses{};
    std::vector<Entry> environment{};
    std::vector<Entry> files{};
    std::vector<Example> examples{};
    // Other manual pages, as "name(section)".
    std::vector<std::string> seeAlso{};
};

} // namespace quessel::manual
