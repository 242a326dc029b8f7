// A point where a worker thread waits until the test lets it on, and tells that it got there.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

namespace quessel::testing {

// Shared with the workers by shared_ptr, so that a worker still waiting when a test ends
// reaches no freed memory; a test opens its gates before it ends.
class Gate {
public:
    static std::shared_ptr<Gate> create() { return std::make_shared<Gate>(); }

    // Called by the worker: records its arrival, then waits until the gate opens.
    void pass() {
        std::unique_lock lock(mutex_);
        ++arrivals_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_; });
    }
    void open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    int arrivals() const {
        const std::lock_guard lock(mutex_);
        return arrivals_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    int arrivals_ = 0;
};

// Opens the gate when the test leaves its scope, a failed assertion included.
class GateOpener {
public:
    explicit GateOpener(std::shared_ptr<Gate> gate) : gate_(std::move(gate)) {}
    GateOpener(const GateOpener&) = delete;
    GateOpener& operator=(const GateOpener&) = delete;
    ~GateOpener() { gate_->open(); }

private:
    std::shared_ptr<Gate> gate_;
};

} // namespace quessel::testing
