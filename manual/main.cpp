// quessel-manual-page: writes a program's manual page at build time, from the description its
// --help text is written from.
//   quessel-manual-page PROGRAM SOURCE DATE OUTPUT
#include "app/CommandLine.hpp"
#include "manual/ManualPage.hpp"
#include "render/RenderManual.hpp"

#include <cstdio>
#include <fstream>
#include <string_view>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fputs("usage: quessel-manual-page PROGRAM SOURCE DATE OUTPUT\n", stderr);
        return 2;
    }
    const std::string_view program = argv[1];
    const quessel::manual::CommandManual* manual = nullptr;
    if (program == "quessel") {
        manual = &quessel::app::quesselManual();
    } else if (program == "quessel-render") {
        manual = &quessel::render::renderManual();
    } else {
        std::fprintf(stderr, "quessel-manual-page: no program '%s'\n", argv[1]);
        return 2;
    }
    const std::string page = quessel::manual::manualPage(*manual, argv[2], argv[3]);
    std::ofstream output(argv[4], std::ios::binary | std::ios::trunc);
    output << page;
    output.close();
    if (!output) {
        std::fprintf(stderr, "quessel-manual-page: cannot write '%s'\n", argv[4]);
        return 1;
    }
    return 0;
}
