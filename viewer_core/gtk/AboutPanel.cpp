// The About window: the application's name, version, maker and a link to the maker's website.
#include "viewer_core/gtk/AboutPanel.hpp"

#include <adwaita.h>

#include <algorithm>
#include <memory>

namespace quessel::core {

std::string AboutPanel::version() {
    return QUESSEL_VERSION;
}

std::optional<std::string> AboutPanel::campaignLink(std::string_view websiteURL,
                                                    std::string_view utmSource) {
    std::string link(websiteURL);
    link += "?utm_source=";
    link += utmSource;
    link += "&utm_medium=app&utm_campaign=about";
    // GLib's parser lets spaces through, and accepts any scheme: a link the desktop can open
    // is a web address with a host and nothing that needs escaping.
    const bool printable =
        std::all_of(link.begin(), link.end(), [](unsigned char c) { return c > ' ' && c < 0x7f; });
    if (!printable)
        return std::nullopt;
    const std::unique_ptr<GUri, decltype(&g_uri_unref)> uri(
        g_uri_parse(link.c_str(), G_URI_FLAGS_NONE, nullptr), &g_uri_unref);
    if (uri == nullptr)
        return std::nullopt;
    const std::string scheme = g_uri_get_scheme(uri.get());
    const char* host = g_uri_get_host(uri.get());
    if ((scheme != "https" && scheme != "http") || host == nullptr || *host == '\0')
        return std::nullopt;
    return link;
}

AdwAboutWindow* AboutPanel::show(Gtk::Window* parent, const std::string& appName,
                                 const std::string& creatorName, const std::string& websiteURL,
                                 const std::string& utmSource) {
    auto* about = ADW_ABOUT_WINDOW(adw_about_window_new());
    adw_about_window_set_application_name(about, appName.c_str());
    adw_about_window_set_application_icon(about, "org.quessel.Quessel");
    adw_about_window_set_version(about, version().c_str());
    adw_about_window_set_developer_name(about, creatorName.c_str());
    const char* creators[] = {creatorName.c_str(), nullptr};
    adw_about_window_add_credit_section(about, "Created by", creators);
    if (const auto link = campaignLink(websiteURL, utmSource))
        adw_about_window_set_website(about, link->c_str());
    if (parent != nullptr) {
        gtk_window_set_transient_for(GTK_WINDOW(about), parent->gobj());
        gtk_window_set_modal(GTK_WINDOW(about), true);
    }
    gtk_window_present(GTK_WINDOW(about));
    return about;
}

} // namespace quessel::core
