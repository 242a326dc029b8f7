// A toolbar button that shows its icon and its title together, with a help text.
#include "viewer_core/gtk/LabeledButton.hpp"

namespace quessel::core {

LabeledButton::LabeledButton(const std::string& title, const std::string& iconName,
                             const std::string& helpText) {
    content_.append(image_);
    content_.append(label_);
    set_child(content_);
    setContent(title, iconName, helpText);
}

void LabeledButton::setContent(const std::string& title, const std::string& iconName,
                               const std::string& helpText) {
    if (label_.get_text().raw() != title) {
        label_.set_text(title);
    }
    if (image_.get_icon_name().raw() != iconName) {
        image_.set_from_icon_name(iconName);
    }
    if (get_tooltip_text().raw() != helpText) {
        set_tooltip_text(helpText);
    }
}

} // namespace quessel::core
