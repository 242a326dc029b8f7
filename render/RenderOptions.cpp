// The command line of quessel-render: what to render and how.
#include "render/RenderOptions.hpp"

#include <charconv>

namespace quessel::render {
namespace {

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

} // namespace quessel::render
