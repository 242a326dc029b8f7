// What shows over the rendered page while a page takes long to make: the file and a busy bar.
#include "app/OpeningProgress.hpp"

#include <glibmm/main.h>

namespace quessel::app {
namespace {

constexpr unsigned pulseInterval = 100; // milliseconds

} // namespace

OpeningProgress::OpeningProgress() : Gtk::Box(Gtk::Orientation::VERTICAL, 12) {
    // Opaque, in the page area's own colour, so that the stale page does not show through.
    add_css_class("view");
    set_hexpand(true);
    set_vexpand(true);
    auto* middle = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 12);
    middle->set_valign(Gtk::Align::CENTER);
    middle->set_halign(Gtk::Align::CENTER);
    middle->set_vexpand(true);
    spinner_.set_size_request(32, 32);
    label_.add_css_class("title-4");
    label_.set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    label_.set_max_width_chars(60);
    bar_.set_pulse_step(0.1);
    bar_.set_size_request(240, -1);
    middle->append(spinner_);
    middle->append(label_);
    middle->append(bar_);
    append(*middle);
    set_visible(false);
}

OpeningProgress::~OpeningProgress() {
    delay_.disconnect();
    pulse_.disconnect();
}

void OpeningProgress::start(const std::string& text) {
    label_.set_text(text);
    if (running_) {
        return;
    }
    running_ = true;
    delay_ = Glib::signal_timeout().connect(
        [this] {
            reveal();
            return false;
        },
        static_cast<unsigned>(showDelay.count()));
}

void OpeningProgress::reveal() {
    set_visible(true);
    spinner_.start();
    bar_.set_fraction(0.0);
    pulse_ = Glib::signal_timeout().connect(
        [this] {
            bar_.pulse();
            return true;
        },
        pulseInterval);
}

void OpeningProgress::stop() {
    running_ = false;
    delay_.disconnect();
    pulse_.disconnect();
    spinner_.stop();
    set_visible(false);
}

} // namespace quessel::app
