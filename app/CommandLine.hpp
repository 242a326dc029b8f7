// quessel's command line: described once for its --help text and its manual page, and the
// options answered before the application starts.
#pragma once

#include "manual/CommandManual.hpp"

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace quessel::app {

const manual::CommandManual& quesselManual();

enum class CommandLineAction { run, help, version };

// A command line that cannot be obeyed; what() says why in one line.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the program's name, read in order up to "--". Everything that is not an
// option is a file, left to the application to open; an option quessel does not know is an
// error rather than something the toolkit might take.
CommandLineAction parseCommandLine(const std::vector<std::string_view>& arguments);

// The exit status when the command line is answered without the application (the help, the
// version, or an error, written to `out` or `err`); nothing when the application should run. No
// display is needed for an answer.
std::optional<int> answerCommandLine(const std::vector<std::string_view>& arguments, std::FILE* out,
                                     std::FILE* err);

} // namespace quessel::app
