// A question or notice in a libadwaita message dialog, answered asynchronously.
#pragma once

#include <gtkmm/window.h>

#include <functional>
#include <string>
#include <vector>

typedef struct _AdwMessageDialog AdwMessageDialog;

namespace quessel::core {

class MessageDialog {
public:
    enum class Look { plain, suggested, destructive };

    struct Response {
        std::string id;
        std::string label;
        Look look = Look::plain;
    };

    struct Content {
        std::string heading;
        std::string body;
        std::vector<Response> responses;
        std::string defaultResponse; // Return
        std::string closeResponse;   // Escape, or closing the dialog
    };

    // Shows the dialog, modal to `parent` when there is one, and calls `onResponse` once with the
    // id of the chosen response. The dialog belongs to GTK's window list and closes itself.
    static AdwMessageDialog* present(Gtk::Window* parent, const Content& content,
                                     std::function<void(const std::string&)> onResponse);
};

} // namespace quessel::core
