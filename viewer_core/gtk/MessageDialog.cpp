// A question or notice in a libadwaita message dialog, answered asynchronously.
#include "viewer_core/gtk/MessageDialog.hpp"

#include <adwaita.h>

#include <memory>

namespace quessel::core {
namespace {

using Callback = std::function<void(const std::string&)>;

// The dialog answers at most once: closing it after a button emits the close response again.
struct Pending {
    Callback callback;
    bool answered = false;
};

AdwResponseAppearance appearanceOf(MessageDialog::Look look) {
    switch (look) {
    case MessageDialog::Look::suggested:
        return ADW_RESPONSE_SUGGESTED;
    case MessageDialog::Look::destructive:
        return ADW_RESPONSE_DESTRUCTIVE;
    case MessageDialog::Look::plain:
        break;
    }
    return ADW_RESPONSE_DEFAULT;
}

void relayResponse(AdwMessageDialog*, const char* response, gpointer data) {
    auto* pending = static_cast<Pending*>(data);
    if (pending->answered)
        return;
    pending->answered = true;
    // Copy first: the callback may present another dialog or drop the last window.
    const Callback callback = pending->callback;
    callback(response != nullptr ? response : "");
}

void deletePending(gpointer data, GClosure*) {
    delete static_cast<Pending*>(data);
}

} // namespace

AdwMessageDialog* MessageDialog::present(Gtk::Window* parent, const Content& content,
                                         std::function<void(const std::string&)> onResponse) {
    GtkWidget* widget = adw_message_dialog_new(parent != nullptr ? parent->gobj() : nullptr,
                                               content.heading.c_str(), nullptr);
    auto* dialog = ADW_MESSAGE_DIALOG(widget);
    if (!content.body.empty())
        adw_message_dialog_set_body(dialog, content.body.c_str());
    for (const Response& response : content.responses) {
        adw_message_dialog_add_response(dialog, response.id.c_str(), response.label.c_str());
        adw_message_dialog_set_response_appearance(dialog, response.id.c_str(),
                                                   appearanceOf(response.look));
    }
    if (!content.defaultResponse.empty())
        adw_message_dialog_set_default_response(dialog, content.defaultResponse.c_str());
    if (!content.closeResponse.empty())
        adw_message_dialog_set_close_response(dialog, content.closeResponse.c_str());
    gtk_window_set_modal(GTK_WINDOW(dialog), parent != nullptr);

    auto pending = std::make_unique<Pending>(Pending{std::move(onResponse)});
    g_signal_connect_data(dialog, "response", G_CALLBACK(relayResponse), pending.release(),
                          deletePending, GConnectFlags{});
    gtk_window_present(GTK_WINDOW(dialog));
    return dialog;
}

} // namespace quessel::core
