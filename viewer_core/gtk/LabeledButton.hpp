// A toolbar button that shows its icon and its title together, with a help text.
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <string>

namespace quessel::core {

class LabeledButton : public Gtk::Button {
public:
    LabeledButton(const std::string& title, const std::string& iconName,
                  const std::string& helpText);

    // Changes what the button shows; unchanged values leave the widgets untouched.
    void setContent(const std::string& title, const std::string& iconName,
                    const std::string& helpText);

    std::string title() const { return label_.get_text(); }
    std::string iconName() const { return image_.get_icon_name(); }

private:
    Gtk::Box content_{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Image image_;
    Gtk::Label label_;
};

} // namespace quessel::core
