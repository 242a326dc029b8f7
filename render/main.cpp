// quessel-render: the page Quessel shows for a YAML document, written to standard output.
#include "manual/HelpText.hpp"
#include "page/PageGenerator.hpp"
#include "render/DocumentInput.hpp"
#include "render/RenderManual.hpp"
#include "render/RenderOptions.hpp"
#include "yaml/Parser.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

using namespace quessel::render;
using quessel::page::Appearance;
using quessel::page::PageGenerator;

// One line naming the problem, and `extra` (the synopsis, for a bad command line).
int fail(int status, std::string_view message, std::string_view extra = {}) {
    std::string text = "quessel-render: ";
    text.append(message);
    text.push_back('\n');
    text.append(extra);
    std::fwrite(text.data(), 1, text.size(), stderr);
    return status;
}

int render(const RenderOptions& options) {
    std::string text;
    try {
        text = readDocument(options.file, stdin);
    } catch (const DocumentInputError& error) {
        return fail(1, error.what());
    }
    const Appearance appearance = options.appearance;
    const std::string page = PageGenerator([appearance] { return appearance; }, options.page)
                                 .generateHTML(text, options.fontSize);
    if (std::fwrite(page.data(), 1, page.size(), stdout) != page.size() ||
        std::fflush(stdout) != 0) {
        return fail(1, std::string("cannot write the page: ") + std::strerror(errno));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Standard output is the page: a line about the input encoding there would be part of it.
    quessel::yaml::Parser::setNoticeStream(stderr);
    RenderOptions options;
    try {
        options = parseRenderArguments(std::vector<std::string_view>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        return fail(2, error.what(),
                    quessel::manual::usageText(renderManual()) +
                        "Try 'quessel-render --help' for more.\n");
    }
    switch (options.action) {
    case RenderOptions::Action::help: {
        const std::string help = quessel::manual::helpText(renderManual());
        std::fwrite(help.data(), 1, help.size(), stdout);
        return 0;
    }
    case RenderOptions::Action::version:
        std::printf("quessel-render %s\n", QUESSEL_VERSION);
        return 0;
    case RenderOptions::Action::render:
        break;
    }
    return render(options);
}
