// The command line of quessel-render: what to render, how, and the help texts.
#include "render/RenderOptions.hpp"

#include <charconv>

namespace quessel::render {
namespace {

// The zoom range of the application: a page outside it is one the viewer never shows.
constexpr int smallestFontSize = 8;
constexpr int largestFontSize = 48;

Appearance parseAppearance(std::string_view value) {
    if (value == "light") {
        return Appearance::light;
    }
    if (value == "dark") {
        return Appearance::dark;
    }
    throw UsageError("--appearance takes light or dark, not '" + std::string(value) + "'");
}

PageKind parsePageKind(std::string_view value) {
    if (value == "markup") {
        return PageKind::markup;
    }
    if (value == "virtual") {
        return PageKind::virtualised;
    }
    if (value == "auto") {
        return PageKind::automatic;
    }
    throw UsageError("--page takes markup, virtual or auto, not '" + std::string(value) + "'");
}

int parseFontSize(std::string_view value) {
    int size = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), size);
    if (error != std::errc{} || end != value.data() + value.size() || size < smallestFontSize ||
        size > largestFontSize) {
        throw UsageError("--font-size takes a whole number from " +
                         std::to_string(smallestFontSize) + " to " +
                         std::to_string(largestFontSize) + ", not '" + std::string(value) + "'");
    }
    return size;
}

// Walks the arguments, handing out option values from "--name=value" or the next argument.
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string_view>& arguments)
        : arguments_(arguments) {}

    bool done() const { return next_ >= arguments_.size(); }
    std::string_view take() { return arguments_[next_++]; }

    // The value of `option` when `argument` is that option, in either form.
    std::optional<std::string_view> valueOf(std::string_view option, std::string_view argument) {
        if (argument == option) {
            if (done()) {
                throw UsageError(std::string(option) + " needs a value");
            }
            return take();
        }
        if (argument.starts_with(option) && argument.size() > option.size() &&
            argument[option.size()] == '=') {
            return argument.substr(option.size() + 1);
        }
        return std::nullopt;
    }

private:
    const std::vector<std::string_view>& arguments_;
    std::size_t next_ = 0;
};

} // namespace

RenderOptions parseRenderArguments(const std::vector<std::string_view>& arguments) {
    RenderOptions options;
    ArgumentReader reader(arguments);
    bool optionsEnded = false;
    bool fileGiven = false;
    while (!reader.done()) {
        const std::string_view argument = reader.take();
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            if (fileGiven || argument.empty()) {
                throw UsageError(fileGiven ? "only one FILE can be rendered"
                                           : "an empty FILE name");
            }
            fileGiven = true;
            if (argument != "-") {
                options.file = std::string(argument);
            }
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            options.action = RenderOptions::Action::help;
        } else if (argument == "--version") {
            options.action = RenderOptions::Action::version;
        } else if (const auto appearance = reader.valueOf("--appearance", argument)) {
            options.appearance = parseAppearance(*appearance);
        } else if (const auto size = reader.valueOf("--font-size", argument)) {
            options.fontSize = parseFontSize(*size);
        } else if (const auto page = reader.valueOf("--page", argument)) {
            options.page = parsePageKind(*page);
        } else {
            throw UsageError("unknown option '" + std::string(argument) + "'");
        }
    }
    return options;
}

std::string_view renderSynopsis() {
    return "Usage: quessel-render [--appearance light|dark] [--font-size N]\n"
           "                      [--page markup|virtual|auto] [FILE|-]\n";
}

const std::string& renderHelp() {
    // Built once from the limits the parser applies, so that the two cannot disagree.
    static const std::string help = [] {
        std::string text(renderSynopsis());
        text += "Writes the page Quessel shows for a YAML document to standard output.\n"
                "With no FILE, or when FILE is -, the document is read from standard input.\n"
                "\n"
                "  --appearance light|dark  the colour palette of the page (default: light)\n"
                "  --font-size N            body text size in pixels, ";
        text += std::to_string(smallestFontSize) + " to " + std::to_string(largestFontSize) +
                " (default: " + std::to_string(page::defaultFontSize) + ")\n";
        text += "  --page markup|virtual|auto\n"
                "                           markup: every line as elements, for any browser, its\n"
                "                           find, printing and assistive technology (default);\n"
                "                           virtual: the document as data, only the lines in view\n"
                "                           built (needs JavaScript); auto: markup up to ";
        text += std::to_string(page::virtualPageThreshold) + "\n";
        text += "                           lines, virtual above, as the viewer shows it\n"
                "  --help                   show this help and exit\n"
                "  --version                show the version and exit\n"
                "\n"
                "Exit status: 0 when the page was written, also for text that is not valid YAML\n"
                "(the page then shows the error over the numbered text); 1 when the document\n"
                "cannot be read or is not UTF-8 text, or the page cannot be written; 2 for a\n"
                "command line that cannot be obeyed.\n";
        return text;
    }();
    return help;
}

} // namespace quessel::render
