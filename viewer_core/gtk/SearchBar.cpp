// The search bar above a rendered document: field, match count, previous/next and Done.
#include "viewer_core/gtk/SearchBar.hpp"

#include "viewer_core/gtk/ControlStyles.hpp"

#include <gtkmm/shortcutcontroller.h>

namespace quessel::core {
namespace {

bool isReturn(guint keyval) {
    return keyval == GDK_KEY_Return || keyval == GDK_KEY_KP_Enter || keyval == GDK_KEY_ISO_Enter;
}

void makeSmallArrow(Gtk::Button& button, const char* iconName, const char* helpText) {
    button.set_icon_name(iconName);
    button.set_tooltip_text(helpText);
    button.add_css_class("quessel-search-arrow");
    button.set_valign(Gtk::Align::CENTER);
    button.set_sensitive(false);
}

} // namespace

SearchBar::SearchBar(std::function<void(const std::string&)> setSearchText,
                     std::function<void()> onDismiss, NotificationCenter& center)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 8), setSearchText_(std::move(setSearchText)),
      onDismiss_(std::move(onDismiss)), center_(center) {
    installControlStyles();
    add_css_class("quessel-search-bar");
    buildField();
    buildButtons();
    installEscape();
    // The field takes the keyboard as soon as the bar appears.
    signal_map().connect([this] { field_.grab_focus(); });
}

void SearchBar::buildField() {
    fieldGroup_.add_css_class("quessel-search-field");
    fieldGroup_.set_hexpand(true);
    fieldGroup_.set_valign(Gtk::Align::CENTER);
    searchIcon_.set_from_icon_name("system-search-symbolic");
    searchIcon_.add_css_class("dim-label");
    searchIcon_.add_css_class("quessel-search-icon");
    field_.set_has_frame(false);
    field_.set_hexpand(true);
    field_.set_placeholder_text("Find in document...");
    fieldChanged_ = field_.signal_changed().connect([this] { textChanged(); });
    field_.signal_activate().connect([this] { center_.post(viewerFindNext); });
    // Return is taken before the field sees it, so Shift+Return can mean "previous" as the
    // previous button's help text promises.
    fieldKeys_ = Gtk::EventControllerKey::create();
    fieldKeys_->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    fieldKeys_->signal_key_pressed().connect(
        [this](guint keyval, guint, Gdk::ModifierType state) {
            return fieldKeyPressed(keyval, static_cast<GdkModifierType>(state));
        },
        false);
    field_.add_controller(fieldKeys_);
    clearButton_.set_icon_name("edit-clear-symbolic");
    clearButton_.set_has_frame(false);
    clearButton_.add_css_class("dim-label");
    clearButton_.set_visible(false);
    clearButton_.signal_clicked().connect([this] { setSearchText(""); });
    fieldGroup_.append(searchIcon_);
    fieldGroup_.append(field_);
    fieldGroup_.append(clearButton_);
    append(fieldGroup_);
}

void SearchBar::buildButtons() {
    countLabel_.add_css_class("dim-label");
    countLabel_.add_css_class("quessel-match-count");
    countLabel_.set_visible(false);
    makeSmallArrow(previousButton_, "go-up-symbolic", "Find previous (Shift+Enter)");
    makeSmallArrow(nextButton_, "go-down-symbolic", "Find next (Enter)");
    previousButton_.signal_clicked().connect([this] { center_.post(viewerFindPrevious); });
    nextButton_.signal_clicked().connect([this] { center_.post(viewerFindNext); });
    doneButton_.set_label("Done");
    doneButton_.add_css_class("quessel-search-done");
    doneButton_.set_valign(Gtk::Align::CENTER);
    doneButton_.signal_clicked().connect([this] { dismiss(); });
    append(countLabel_);
    append(previousButton_);
    append(nextButton_);
    append(doneButton_);
}

void SearchBar::installEscape() {
    // Escape acts as Done wherever the focus is in the window, as long as the bar is on screen.
    auto controller = Gtk::ShortcutController::create();
    controller->set_scope(Gtk::ShortcutScope::GLOBAL);
    auto action = Gtk::CallbackAction::create([this](Gtk::Widget&, const Glib::VariantBase&) {
        if (!get_mapped()) {
            return false;
        }
        dismiss();
        return true;
    });
    controller->add_shortcut(
        Gtk::Shortcut::create(Gtk::KeyvalTrigger::create(GDK_KEY_Escape, {}), action));
    add_controller(controller);
}

bool SearchBar::fieldKeyPressed(guint keyval, GdkModifierType state) {
    if (!isReturn(keyval)) {
        return false;
    }
    const bool shift = (state & GDK_SHIFT_MASK) != 0;
    center_.post(shift ? viewerFindPrevious : viewerFindNext);
    return true;
}

void SearchBar::setSearchText(const std::string& text) {
    if (field_.get_text().raw() == text) {
        return;
    }
    // Replacing the text is a deletion and an insertion; observers hear of one change.
    fieldChanged_.block();
    field_.set_text(text);
    fieldChanged_.unblock();
    textChanged();
}

void SearchBar::textChanged() {
    const std::string text = field_.get_text();
    clearButton_.set_visible(!text.empty());
    showCount();
    if (setSearchText_) {
        setSearchText_(text);
    }
    if (get_visible()) {
        center_.post(viewerSearchQueryChanged, text);
    }
}

void SearchBar::setMatches(int currentMatch, int totalMatches) {
    currentMatch_ = currentMatch;
    totalMatches_ = totalMatches;
    previousButton_.set_sensitive(totalMatches_ > 0);
    nextButton_.set_sensitive(totalMatches_ > 0);
    showCount();
}

void SearchBar::showCount() {
    countLabel_.set_visible(!field_.get_text().empty());
    if (totalMatches_ < 1) {
        countLabel_.set_text("0 results");
        countLabel_.remove_css_class("found");
    } else {
        countLabel_.set_text(std::to_string(currentMatch_) + "/" + std::to_string(totalMatches_));
        countLabel_.add_css_class("found");
    }
}

void SearchBar::dismiss() {
    if (onDismiss_) {
        onDismiss_();
    }
    setSearchText("");
}

} // namespace quessel::core
