// quessel-render's command line described once, for its --help text and its manual page.
#include "render/RenderManual.hpp"

#include "page/PageKind.hpp"
#include "page/PageTemplate.hpp"
#include "render/RenderOptions.hpp"

namespace quessel::render {
namespace {

// The figures come from the limits the parser and page generation apply, so that the text
// cannot fall behind them.
std::vector<manual::Option> options() {
    using std::to_string;
    return {
        {"--appearance", "light|dark", "the colour palette of the page (default: light)"},
        {"--font-size", "N",
         "body text size in pixels, " + to_string(smallestFontSize) + " to " +
             to_string(largestFontSize) + " (default: " + to_string(page::defaultFontSize) + ")"},
        {"--page", "markup|virtual|auto",
         "markup: every line as elements, for any browser, its find, printing and assistive "
         "technology (default); virtual: the document as data, only the lines in view built "
         "(needs JavaScript); auto: markup up to " +
             to_string(page::virtualPageThreshold) +
             " lines (mapping entries and sequence elements, or listed lines of invalid text), "
             "virtual above, as the viewer shows it"},
        {"-h, --help", "", "show this help and exit"},
        {"--version", "", "show the version and exit"},
    };
}

manual::CommandManual describe() {
    return {
        .name = "quessel-render",
        .summary = "write the page Quessel shows for a YAML document",
        .usage = {"[--appearance light|dark] [--font-size N] [--page markup|virtual|auto] [FILE|-]",
                  "--help | --version"},
        .description =
            {"Writes the page Quessel shows for a YAML document to standard output: one HTML "
             "page that holds its style sheet and scripts, for any web browser. It needs no "
             "display.",
             "With no FILE, or when FILE is -, the document is read from standard input. It must "
             "be UTF-8 text. Text that is not valid YAML still gives a page: the error over the "
             "numbered text, with the failing line marked.",
             "An option's value is the next argument or follows = (--page=auto); -- ends the "
             "options."},
        .options = options(),
        .exitStatuses = {{"0", "the page was written, also for text that is not valid YAML"},
                         {"1",
                          "the document cannot be read or is not UTF-8 text, or the page cannot be "
                          "written"},
                         {"2", "a command line that cannot be obeyed"}},
        .environment = {{"YAML_DEFAULT_ENCODING",
                         "utf16 (in any case) hands the document to the YAML parser as UTF-16 and "
                         "utf8 as UTF-8, the default; a line on standard error then says which. "
                         "Any other value is ignored."}},
        .examples = {{"Render a document in the dark appearance with 16-pixel text",
                      "quessel-render --appearance dark --font-size 16 deploy.yaml > deploy.html"},
                     {"Render what another program writes, as the viewer would show it",
                      "git show HEAD:deploy.yaml | quessel-render --page auto > deploy.html"}},
        .seeAlso = {"quessel(1)"},
    };
}

} // namespace

const manual::CommandManual& renderManual() {
    static const manual::CommandManual manual = describe();
    return manual;
}

} // namespace quessel::render
