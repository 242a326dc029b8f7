// How long the main loop goes without turning, for benchmarks of the window under load.
#pragma once

#include <glib.h>

#include <chrono>

namespace quessel::bench {

// Ticks every 5 ms and keeps the longest gap between ticks: the longest time the main loop did
// not get round to its sources; also when it ended and how many gaps exceeded 50 ms.
class StallWatch {
public:
    using Clock = std::chrono::steady_clock;

    StallWatch() : start_(Clock::now()), last_(start_), id_(g_timeout_add(5, &tick, this)) {}
    StallWatch(const StallWatch&) = delete;
    StallWatch& operator=(const StallWatch&) = delete;
    ~StallWatch() { g_source_remove(id_); }

    void restart() {
        start_ = last_ = Clock::now();
        longest_ = {};
        longestEnd_ = start_;
        ticks_ = 0;
        longGaps_ = 0;
    }
    Clock::duration longest() const { return longest_; }
    // Milliseconds from the restart to the end of the longest gap.
    double longestEndsAt() const {
        return std::chrono::duration<double, std::milli>(longestEnd_ - start_).count();
    }
    int ticks() const { return ticks_; }
    int longGaps() const { return longGaps_; }

private:
    static gboolean tick(gpointer data) {
        auto* self = static_cast<StallWatch*>(data);
        const auto now = Clock::now();
        const auto gap = now - self->last_;
        if (gap > self->longest_) {
            self->longest_ = gap;
            self->longestEnd_ = now;
        }
        if (gap > std::chrono::milliseconds(50)) {
            ++self->longGaps_;
        }
        self->last_ = now;
        ++self->ticks_;
        return G_SOURCE_CONTINUE;
    }

    Clock::time_point start_;
    Clock::time_point last_;
    Clock::duration longest_{};
    Clock::time_point longestEnd_;
    int ticks_ = 0;
    int longGaps_ = 0;
    guint id_;
};

} // namespace quessel::bench
