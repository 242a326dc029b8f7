// What shows over the rendered page while a page takes long to make: the file and a busy bar.
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/spinner.h>

#include <chrono>
#include <string>

namespace quessel::app {

// Hidden until work has gone on for `showDelay`, so that quick pages never flash it; then a
// spinner, the text and a pulsing bar cover the stale page until the work ends.
class OpeningProgress : public Gtk::Box {
public:
    static constexpr std::chrono::milliseconds showDelay{150};

    OpeningProgress();
    ~OpeningProgress() override;

    // Work has begun, or goes on under a new text; shows after the delay if still running.
    void start(const std::string& text);
    // The work is over: hides at once.
    void stop();

    bool running() const noexcept { return running_; }
    // The text the user reads, for tests.
    std::string text() const { return label_.get_text(); }
    Gtk::ProgressBar& bar() noexcept { return bar_; }

private:
    void reveal();

    bool running_ = false;
    Gtk::Spinner spinner_;
    Gtk::Label label_;
    Gtk::ProgressBar bar_;
    sigc::connection delay_;
    sigc::connection pulse_;
};

} // namespace quessel::app
