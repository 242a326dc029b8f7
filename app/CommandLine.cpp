// quessel's command line: described once for its --help text and its manual page, and the
// options answered before the application starts.
#include "app/CommandLine.hpp"

#include "app/AppState.hpp"
#include "manual/HelpText.hpp"
#include "viewer_core/SharedSettings.hpp"
#include "viewer_core/UserDefaults.hpp"

#include <string>

namespace quessel::app {
namespace {

using core::SharedSettings;
using core::UserDefaults;

// The settings files, named from the constants the stores are opened with.
std::vector<manual::Entry> files() {
    const std::string folder = "$XDG_CONFIG_HOME/";
    const std::string file = "/" + std::string(UserDefaults::fileName);
    const std::string sharedKeys = std::string(SharedSettings::appearanceKey) + ", " +
                                   std::string(SharedSettings::fontSizeKey) + ", " +
                                   std::string(SharedSettings::fontFamilyKey) + ", " +
                                   std::string(SharedSettings::showLineNumbersKey) + " and " +
                                   std::string(SharedSettings::wordWrapKey);
    return {
        {folder + std::string(UserDefaults::standardFolderName) + file,
         "Quessel's own settings: the files opened most recently (" +
             std::string(AppState::recentFilesKey) +
             "). Like the file below, a key file whose values are GVariant text, written whole "
             "under a lock; a file that cannot be read is kept beside the new one as " +
             std::string(UserDefaults::fileName) + ".damaged."},
        {folder + std::string(core::viewerAppGroup) + file,
         "the settings Quessel shares with the other viewers of its family: appearance, font "
         "size and family, line numbers and word wrap (" +
             sharedKeys +
             "). A change one viewer writes reaches the others while they run. When this folder "
             "cannot be used, Quessel says so on standard output and keeps these settings in "
             "its own file."},
    };
}

manual::CommandManual describe() {
    return {
        .name = "quessel",
        .summary = "view YAML documents as a coloured, collapsible tree",
        .usage = {"[FILE...]", "--help | --version"},
        .description =
            {"Quessel is a desktop viewer for YAML documents. It shows a document as a coloured "
             "tree with sorted keys, typed values and collapsible branches; a document that is "
             "not valid YAML shows what went wrong over a numbered listing of its text, with the "
             "failing line marked. The raw text can be edited and saved back to the file.",
             "Quessel opens FILE, the first one when several are given; with none, its window "
             "offers to open a file and lists the files opened recently. While Quessel runs in "
             "the desktop session, quessel FILE opens FILE in the running window and returns at "
             "once.",
             "The window needs a display; --help and --version do not. An argument after -- is "
             "a FILE even when it starts with -."},
        .options = {{"-h, --help", "", "show this help and exit"},
                    {"--version", "", "show the version and exit"}},
        .exitStatuses = {{"0", "Quessel was closed, the files were handed to the running "
                               "Quessel, or the help or the version was shown"},
                         {"1", "Quessel could not start, for example with no display to open"},
                         {"2", "a command line that cannot be obeyed"}},
        .environment = {{"YAML_DEFAULT_ENCODING",
                         "utf16 (in any case) hands documents to the YAML parser as UTF-16 and "
                         "utf8 as UTF-8, the default; a line on standard output then says "
                         "which. Any other value is ignored."},
                        {"XDG_CONFIG_HOME",
                         "the folder of the settings files below; ~/.config when it is not set "
                         "to an absolute path"}},
        .files = files(),
        .examples = {{"Open a document", "quessel deploy.yaml"},
                     {"Open a file whose name starts with a dash", "quessel -- -draft.yaml"}},
        .seeAlso = {"quessel-render(1)"},
    };
}

} // namespace

const manual::CommandManual& quesselManual() {
    static const manual::CommandManual manual = describe();
    return manual;
}

CommandLineAction parseCommandLine(const std::vector<std::string_view>& arguments) {
    CommandLineAction action = CommandLineAction::run;
    for (const std::string_view argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            action = CommandLineAction::help;
        } else if (argument == "--version") {
            action = CommandLineAction::version;
        } else if (argument.starts_with("-") && argument != "-") {
            throw CommandLineError("unknown option '" + std::string(argument) + "'");
        }
    }
    return action;
}

std::optional<int> answerCommandLine(const std::vector<std::string_view>& arguments, std::FILE* out,
                                     std::FILE* err) {
    std::string text;
    int status = 0;
    try {
        switch (parseCommandLine(arguments)) {
        case CommandLineAction::run:
            return std::nullopt;
        case CommandLineAction::help:
            text = manual::helpText(quesselManual());
            break;
        case CommandLineAction::version:
            text = "quessel " QUESSEL_VERSION "\n";
            break;
        }
    } catch (const CommandLineError& error) {
        text = "quessel: " + std::string(error.what()) + '\n' + manual::usageText(quesselManual()) +
               "Try 'quessel --help' for more.\n";
        status = 2;
    }
    std::FILE* const stream = status == 0 ? out : err;
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() ||
        std::fflush(stream) != 0) {
        return 1;
    }
    return status;
}

} // namespace quessel::app
