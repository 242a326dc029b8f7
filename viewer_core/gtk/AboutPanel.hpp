// The About window: the application's name, version, maker and a link to the maker's website.
#pragma once

#include <gtkmm/window.h>

#include <optional>
#include <string>
#include <string_view>

typedef struct _AdwAboutWindow AdwAboutWindow;

namespace quessel::core {

class AboutPanel {
public:
    // The version the build was made from (the project version CMake knows).
    static std::string version();

    // The website address with the campaign query, or none when the result is not a valid
    // absolute address (the window then shows without a link).
    static std::optional<std::string> campaignLink(std::string_view websiteURL,
                                                   std::string_view utmSource);

    // Shows the About window, modal to `parent` when there is one.
    static AdwAboutWindow* show(Gtk::Window* parent, const std::string& appName,
                                const std::string& creatorName, const std::string& websiteURL,
                                const std::string& utmSource);
};

} // namespace quessel::core
