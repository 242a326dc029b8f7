// A program run as a test's child process: what it is given, and what it wrote and returned.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quessel::testing {

// Every member has an initialiser, so that a test names only what it gives.
struct ProgramInput {
    std::string standardInput{};
    // Variables to set, or with no value to remove, over the test's own environment.
    std::vector<std::pair<std::string, std::optional<std::string>>> environment{};
    // Where standard output goes instead of being captured (for a device such as /dev/full).
    std::optional<std::string> standardOutputFile{};
};

struct ProgramRun {
    int status = -1; // -1: the program did not exit normally (or did not start)
    std::string out;
    std::string err;
};

// Runs `arguments` (the program first) to its end; a failure to start it fails the test.
ProgramRun runProgram(const std::vector<std::string>& arguments, const ProgramInput& input = {});

} // namespace quessel::testing
