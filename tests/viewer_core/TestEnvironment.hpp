// Test support: a private configuration folder per test, files, the main loop, a second process.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace quessel::core::testing {

// Gives each test its own scratch folder with XDG_CONFIG_HOME pointing inside it, so stores
// opened during the test read and write there; both are gone after the test.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The scratch folder (not the configuration folder).
    const std::string& root() const { return root_; }
    // $XDG_CONFIG_HOME during the test.
    std::string configHome() const { return root_ + "/config"; }
    std::string path(const std::string& name) const { return root_ + '/' + name; }

private:
    std::string root_;
    std::optional<std::string> previousConfigHome_;
};

// Lowers the largest file this process may write, for the scope: writes beyond it fail with
// EFBIG whatever the privileges, as on a full disk. The signal that would end the process is
// ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit();

private:
    struct rlimit previous_ {};
    void (*previousHandler_)(int) = nullptr;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);
// Names in a folder, "." and ".." left out, sorted.
std::vector<std::string> folderEntries(const std::string& folder);
unsigned permissionBits(const std::string& path);

// Runs the default main context until the condition holds or the time is up; reports whether
// it holds.
bool runMainLoopUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10));
void runMainLoopFor(std::chrono::milliseconds duration);

// Runs the defaults writer (DefaultsWriter.cpp) as a separate process with the test's
// environment and waits for it; returns its exit status.
int runDefaultsWriter(const std::vector<std::string>& arguments);
// Starts it without waiting; finishDefaultsWriter waits and returns the exit status.
int startDefaultsWriter(const std::vector<std::string>& arguments);
int finishDefaultsWriter(int pid);

} // namespace quessel::core::testing
