// Test support: a private configuration folder per test, files, the main loop, a second process.
#include "TestEnvironment.hpp"

#include <glib.h>
#include <glibmm/main.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace quessel::core::testing {

void CoreTest::SetUp() {
    char* made = g_dir_make_tmp("quessel-core-XXXXXX", nullptr);
    ASSERT_NE(made, nullptr);
    root_ = made;
    g_free(made);
    if (const char* previous = std::getenv("XDG_CONFIG_HOME")) {
        previousConfigHome_ = previous;
    }
    ::setenv("XDG_CONFIG_HOME", configHome().c_str(), 1);
}

void CoreTest::TearDown() {
    if (previousConfigHome_) {
        ::setenv("XDG_CONFIG_HOME", previousConfigHome_->c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &previous_), 0);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lowered = previous_;
    lowered.rlim_cur = bytes;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

unsigned permissionBits(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return 0;
    }
    return status.st_mode & 07777;
}

bool runMainLoopUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto context = Glib::MainContext::get_default();
    bool timedOut = false;
    auto timer = Glib::signal_timeout().connect(
        [&timedOut] {
            timedOut = true;
            return false;
        },
        static_cast<unsigned>(timeout.count()));
    while (!condition() && !timedOut) {
        context->iteration(true);
    }
    timer.disconnect();
    return condition();
}

void runMainLoopFor(std::chrono::milliseconds duration) {
    runMainLoopUntil([] { return false; }, duration);
}

int startDefaultsWriter(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{QUESSEL_DEFAULTS_WRITER};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    GPid pid = 0;
    GError* error = nullptr;
    const bool started = g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD,
                                       nullptr, nullptr, &pid, &error);
    EXPECT_TRUE(started) << (error != nullptr ? error->message : "");
    if (error != nullptr) {
        g_error_free(error);
    }
    return started ? pid : -1;
}

int finishDefaultsWriter(int pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runDefaultsWriter(const std::vector<std::string>& arguments) {
    const int pid = startDefaultsWriter(arguments);
    return pid < 0 ? -1 : finishDefaultsWriter(pid);
}

} // namespace quessel::core::testing
