// A window's initial size (a share of its monitor's work area) and its title.
#include "viewer_core/gtk/WindowConfiguration.hpp"

#include <gdk/x11/gdkx.h>
#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <gdkmm/surface.h>
#include <glibmm/main.h>

#include <cmath>

#ifndef QUESSEL_DISPLAY_NAME
#error "QUESSEL_DISPLAY_NAME comes from the build"
#endif

namespace quessel::core {
namespace {

// The monitor the window is on, or else the display's first one.
Glib::RefPtr<Gdk::Monitor> monitorOf(Gtk::Window& window) {
    auto display = window.get_display();
    if (!display) {
        return {};
    }
    if (auto surface = window.get_surface()) {
        if (auto monitor = display->get_monitor_at_surface(surface)) {
            return monitor;
        }
    }
    auto monitors = display->get_monitors();
    if (!monitors || monitors->get_n_items() == 0) {
        return {};
    }
    return std::dynamic_pointer_cast<Gdk::Monitor>(monitors->get_object(0));
}

// X11 knows the area that panels and docks leave free; elsewhere the whole monitor is used.
Gdk::Rectangle workAreaOf(const Glib::RefPtr<Gdk::Monitor>& monitor) {
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_MONITOR(monitor->gobj())) {
        GdkRectangle area;
        gdk_x11_monitor_get_workarea(monitor->gobj(), &area);
        return Gdk::Rectangle(&area);
    }
#endif
    Gdk::Rectangle geometry;
    monitor->get_geometry(geometry);
    return geometry;
}

} // namespace

std::pair<int, int> WindowConfiguration::sizeFor(int workAreaWidth, int workAreaHeight,
                                                 double widthRatio) {
    const double width = std::floor(workAreaWidth * widthRatio);
    return {std::max(1, static_cast<int>(width)), std::max(1, workAreaHeight)};
}

void WindowConfiguration::configure(Gtk::Window& window, double widthRatio) {
    Glib::signal_idle().connect_once(sigc::track_object(
        [&window, widthRatio] {
            auto monitor = monitorOf(window);
            if (!monitor) {
                return;
            }
            const Gdk::Rectangle area = workAreaOf(monitor);
            const auto [width, height] = sizeFor(area.get_width(), area.get_height(), widthRatio);
            window.set_default_size(width, height);
        },
        window));
}

void WindowConfiguration::updateTitle(Gtk::Window& window,
                                      const std::optional<std::string>& title) {
    Glib::signal_idle().connect_once(sigc::track_object(
        [&window, title] { window.set_title(title.value_or(displayName())); }, window));
}

std::string WindowConfiguration::displayName() {
    return QUESSEL_DISPLAY_NAME;
}

} // namespace quessel::core
