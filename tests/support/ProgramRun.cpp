// A program run as a test's child process: what it is given, and what it wrote and returned.
#include "tests/support/ProgramRun.hpp"

#include "viewer_core/GObjectPtr.hpp"

#include <gio/gio.h>
#include <gtest/gtest.h>

namespace quessel::testing {
namespace {

std::string takeText(GBytes* bytes) {
    if (bytes == nullptr) {
        return {};
    }
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    std::string text(data == nullptr ? "" : data, size);
    g_bytes_unref(bytes);
    return text;
}

GSubprocessFlags flagsFor(const ProgramInput& input) {
    auto flags = static_cast<int>(G_SUBPROCESS_FLAGS_STDIN_PIPE | G_SUBPROCESS_FLAGS_STDERR_PIPE);
    if (!input.standardOutputFile) {
        flags |= G_SUBPROCESS_FLAGS_STDOUT_PIPE;
    }
    return static_cast<GSubprocessFlags>(flags);
}

} // namespace

ProgramRun runProgram(const std::vector<std::string>& arguments, const ProgramInput& input) {
    auto launcher =
        core::GObjectPtr<GSubprocessLauncher>::adopt(g_subprocess_launcher_new(flagsFor(input)));
    for (const auto& [name, value] : input.environment) {
        if (value) {
            g_subprocess_launcher_setenv(launcher.get(), name.c_str(), value->c_str(), TRUE);
        } else {
            g_subprocess_launcher_unsetenv(launcher.get(), name.c_str());
        }
    }
    if (input.standardOutputFile) {
        g_subprocess_launcher_set_stdout_file_path(launcher.get(),
                                                   input.standardOutputFile->c_str());
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    GError* error = nullptr;
    auto process = core::GObjectPtr<GSubprocess>::adopt(
        g_subprocess_launcher_spawnv(launcher.get(), argv.data(), &error));
    if (!process) {
        ADD_FAILURE() << "cannot start " << arguments.front() << ": " << error->message;
        g_error_free(error);
        return {};
    }
    GBytes* standardInput = g_bytes_new(input.standardInput.data(), input.standardInput.size());
    GBytes* out = nullptr;
    GBytes* err = nullptr;
    if (!g_subprocess_communicate(process.get(), standardInput, nullptr, &out, &err, &error)) {
        ADD_FAILURE() << "cannot talk to " << arguments.front() << ": " << error->message;
        g_error_free(error);
    }
    g_bytes_unref(standardInput);
    ProgramRun run{-1, takeText(out), takeText(err)};
    if (g_subprocess_get_if_exited(process.get())) {
        run.status = g_subprocess_get_exit_status(process.get());
    }
    return run;
}

} // namespace quessel::testing
