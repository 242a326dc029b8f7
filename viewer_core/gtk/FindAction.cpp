// What the Find command does in the focused window, published as the window's "win.find" action.
#include "viewer_core/gtk/FindAction.hpp"

namespace quessel::core {

Glib::RefPtr<Gio::SimpleAction> FindAction::toAction() const {
    auto action = Gio::SimpleAction::create(name);
    action->signal_activate().connect([find = *this](const Glib::VariantBase&) { find(); });
    return action;
}

} // namespace quessel::core
