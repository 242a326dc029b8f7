// The look of the shared controls (sizes, insets, backgrounds), installed once per display.
#include "viewer_core/gtk/ControlStyles.hpp"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

namespace quessel::core {
namespace {

// Sizes follow the desktop's pixel units; colours are libadwaita's named colours, so the
// controls follow the light or dark appearance.
constexpr const char* styleSheet = R"css(
.quessel-empty-icon { -gtk-icon-size: 48px; }
.quessel-recent-header { margin-top: 8px; font-weight: bold; }
.quessel-recent-row { font-size: 12px; font-weight: normal; padding: 2px 4px; min-height: 0; }
.quessel-search-bar { padding: 8px 12px; background-color: @window_bg_color; }
.quessel-search-field { padding: 6px 8px; background-color: @view_bg_color; border-radius: 6px; }
.quessel-search-field entry, .quessel-search-field text {
    background: none; border: none; box-shadow: none; outline: none; min-height: 0;
    padding: 0; font-size: 13px; }
.quessel-search-icon { -gtk-icon-size: 12px; }
.quessel-match-count { font-size: 12px; min-width: 40px; }
.quessel-match-count.found { font-weight: 500; font-feature-settings: "tnum"; }
.quessel-search-arrow image { -gtk-icon-size: 11px; }
.quessel-search-done { font-size: 12px; }
.quessel-file-name { font-size: 13px; }
.quessel-copy-path image { -gtk-icon-size: 10px; }
)css";

} // namespace

void installControlStyles() {
    static bool installed = false;
    auto display = Gdk::Display::get_default();
    if (installed || !display) {
        return;
    }
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(styleSheet);
    Gtk::StyleContext::add_provider_for_display(display, provider,
                                                GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    installed = true;
}

} // namespace quessel::core
