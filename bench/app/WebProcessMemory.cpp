// The memory of the web engine's content process, which holds the page, from /proc.
#include "bench/app/WebProcessMemory.hpp"

#include <glib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace quessel::bench {
namespace {

struct ProcessStat {
    std::string name;
    pid_t parent = 0;
    unsigned long long started = 0; // clock ticks after boot
};

// /proc/<pid>/stat: "pid (name) state ppid ..." with the start time as field 22; the name may
// hold spaces and parentheses, so fields are counted from its last ')'.
std::optional<ProcessStat> readStat(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line)) {
        return std::nullopt;
    }
    const auto open = line.find('(');
    const auto close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return std::nullopt;
    }
    ProcessStat stat;
    stat.name = line.substr(open + 1, close - open - 1);
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    for (int number = 3; fields >> field; ++number) {
        if (number == 4) {
            stat.parent = static_cast<pid_t>(std::stol(field));
        } else if (number == 22) {
            stat.started = std::stoull(field);
            return stat;
        }
    }
    return std::nullopt;
}

bool alive(pid_t pid) {
    return std::filesystem::exists("/proc/" + std::to_string(pid) + "/status");
}

} // namespace

std::optional<pid_t> newestWebProcess() {
    std::optional<pid_t> newest;
    unsigned long long newestStart = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const auto pid = static_cast<pid_t>(std::stol(name));
        const auto stat = readStat(pid);
        // The kernel keeps 15 characters of the name: "WebKitWebProces".
        if (stat && stat->parent == getpid() && stat->name.rfind("WebKitWebProces", 0) == 0 &&
            (!newest || stat->started >= newestStart)) {
            newest = pid;
            newestStart = stat->started;
        }
    }
    return newest;
}

std::optional<ProcessMemory> processMemory(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    ProcessMemory memory;
    bool found = false;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string label;
        std::size_t kilobytes = 0;
        fields >> label >> kilobytes;
        if (label == "VmHWM:") {
            memory.peakBytes = kilobytes * 1024;
            found = true;
        } else if (label == "VmRSS:") {
            memory.residentBytes = kilobytes * 1024;
        }
    }
    return found ? std::optional(memory) : std::nullopt;
}

void retireWebProcess(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    // The engine ends the process from the main loop.
    while (alive(pid) && std::chrono::steady_clock::now() < deadline) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (alive(pid)) {
        std::ofstream("/proc/" + std::to_string(pid) + "/clear_refs") << "5";
    }
}

} // namespace quessel::bench
