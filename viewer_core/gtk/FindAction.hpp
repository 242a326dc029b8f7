// What the Find command does in the focused window, published as the window's "win.find" action.
#pragma once

#include <giomm/simpleaction.h>

#include <functional>

namespace quessel::core {

class FindAction {
public:
    // The name under which a window publishes the action; the menu's Find command targets
    // "win.find", so it is enabled exactly while the focused window carries one.
    static constexpr const char* name = "find";

    explicit FindAction(std::function<void()> action) : action_(std::move(action)) {}

    void operator()() const {
        if (action_) {
            action_();
        }
    }

    // A Gio action that runs this one when activated, to add to a window's action map.
    Glib::RefPtr<Gio::SimpleAction> toAction() const;

private:
    std::function<void()> action_;
};

} // namespace quessel::core
