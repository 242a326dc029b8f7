// Work on a thread of its own whose result reaches the main thread only while it is the newest.
#pragma once

#include <glib.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace quessel::app {
namespace detail {

// Runs `body` on a new detached thread, counted in runningWorkers while it runs (or here, when
// no thread can be had).
void runDetached(std::function<void()> body);
// Runs `callback` in a later turn of the loop that runs `context`, on that loop's thread.
void postToLoop(GMainContext* context, std::function<void()> callback);

struct MainContextUnref {
    void operator()(GMainContext* context) const noexcept { g_main_context_unref(context); }
};
using MainContextPtr = std::unique_ptr<GMainContext, MainContextUnref>;

} // namespace detail

// Workers of every kind still running in this process, superseded ones included. A process
// that ends while one runs must leave without running static destructors under it.
int runningWorkers() noexcept;

// Each start() runs its work on a new thread and hands the result to the main context of the
// thread that made this object, in a later main-loop turn. Only the newest work's result is
// delivered: a newer start(), cancel() or the end of this object supersede older work, which
// sees its flag raised (work made of stages checks it between them and stops early) and whose
// result is dropped. Nothing ever waits for a worker: each owns what it uses (its function and a
// shared flag), and this object's side is reached only on the main thread, through a weak
// reference, so a worker may outlive it safely.
template <typename Result>
class BackgroundWork {
public:
    // Runs on a worker; must not throw, touch GTK, or capture anything that may die before it.
    using Work = std::function<Result(const std::atomic<bool>& cancelled)>;
    // Receives the newest work's result, on the main thread.
    using Delivery = std::function<void(Result)>;

    explicit BackgroundWork(Delivery delivery) : receiver_(std::make_shared<Receiver>()) {
        receiver_->delivery = std::move(delivery);
    }
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;
    // Supersedes any pending work; returns at once.
    ~BackgroundWork() { cancel(); }

    void start(Work work) {
        cancel();
        auto job = std::make_shared<Job>();
        job->work = std::move(work);
        job->generation = receiver_->generation;
        job->receiver = receiver_;
        job->mainContext.reset(g_main_context_ref_thread_default());
        receiver_->pending = true;
        current_ = job;
        detail::runDetached([job]() mutable {
            run(job);
            // The function and what it captured go before the worker counts out, so that nothing
            // of it is still being freed when the process decides it may exit.
            job.reset();
        });
    }

    // Supersedes any pending work; nothing is delivered until the next start().
    void cancel() {
        if (current_) {
            current_->cancelled = true;
            current_.reset();
        }
        ++receiver_->generation;
        receiver_->pending = false;
    }

    // Work has started whose result has not been delivered yet.
    bool pending() const noexcept { return receiver_->pending; }

private:
    // The main thread's side: touched only on the main thread, which also ends it.
    struct Receiver {
        Delivery delivery;
        // The newest work's number; a result of any other number is stale.
        std::uint64_t generation = 0;
        bool pending = false;
    };
    // Shared by this object (to cancel it) and its worker (to do it).
    struct Job {
        Work work;
        std::uint64_t generation = 0;
        std::weak_ptr<Receiver> receiver;
        detail::MainContextPtr mainContext;
        std::atomic<bool> cancelled{false};
    };

    static void run(const std::shared_ptr<Job>& job) {
        if (job->cancelled) {
            return;
        }
        auto result = std::make_shared<Result>(job->work(job->cancelled));
        job->work = nullptr;
        if (job->cancelled) {
            return;
        }
        GMainContext* context = job->mainContext.get();
        detail::postToLoop(context, [job, result] {
            auto receiver = job->receiver.lock();
            if (receiver && !job->cancelled && job->generation == receiver->generation) {
                receiver->pending = false;
                if (receiver->delivery) {
                    receiver->delivery(std::move(*result));
                }
            }
        });
    }

    std::shared_ptr<Receiver> receiver_;
    std::shared_ptr<Job> current_;
};

} // namespace quessel::app
