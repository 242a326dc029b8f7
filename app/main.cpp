// The quessel executable: runs the application, which opens the files it is given.
#include "app/BackgroundWork.hpp"
#include "app/CommandLine.hpp"
#include "app/QuesselApp.hpp"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // Answered before the application exists: making it opens the display.
    if (const auto status = quessel::app::answerCommandLine(
            std::vector<std::string_view>(argv + 1, argv + argc), stdout, stderr)) {
        return *status;
    }
    const int status = quessel::app::QuesselApp::create()->run(argc, argv);
    // A page still being made or a file still being read would run on while static objects it
    // uses are destroyed; its result is wanted by no one, so leave without waiting for it and
    // without running those destructors. Nothing left to save depends on them.
    if (quessel::app::runningWorkers() > 0) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
