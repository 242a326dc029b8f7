// The search bar above a rendered document: field, match count, previous/next and Done.
#pragma once

#include "viewer_core/NotificationCenter.hpp"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <functional>
#include <string>

namespace quessel::core {

// One end of the window's search protocol: every change of the text while the bar is shown is
// posted as viewerSearchQueryChanged, Return and the next button post viewerFindNext,
// Shift+Return and the previous button post viewerFindPrevious. The window owns the text (the
// bar reports it through `setSearchText`) and the counts it shows.
class SearchBar : public Gtk::Box {
public:
    SearchBar(std::function<void(const std::string&)> setSearchText,
              std::function<void()> onDismiss,
              NotificationCenter& center = NotificationCenter::defaultCenter());

    // The read half of the text binding; the same text again changes nothing.
    void setSearchText(const std::string& text);
    std::string searchText() const { return field_.get_text(); }

    // The counts the web view host reported, for the count label and the arrows.
    void setMatches(int currentMatch, int totalMatches);

    // What the Done button and Escape do: the dismiss action first, then the text is emptied.
    void dismiss();

    // The parts, for the window's focus handling and for tests.
    Gtk::Entry& field() { return field_; }
    Gtk::Button& clearButton() { return clearButton_; }
    Gtk::Label& countLabel() { return countLabel_; }
    Gtk::Button& previousButton() { return previousButton_; }
    Gtk::Button& nextButton() { return nextButton_; }
    Gtk::Button& doneButton() { return doneButton_; }
    Glib::RefPtr<Gtk::EventControllerKey> fieldKeys() { return fieldKeys_; }

private:
    void buildField();
    void buildButtons();
    void installEscape();
    void textChanged();
    bool fieldKeyPressed(guint keyval, GdkModifierType state);
    void showCount();

    std::function<void(const std::string&)> setSearchText_;
    std::function<void()> onDismiss_;
    NotificationCenter& center_;
    int currentMatch_ = 0;
    int totalMatches_ = 0;
    Gtk::Box fieldGroup_{Gtk::Orientation::HORIZONTAL, 4};
    Gtk::Image searchIcon_;
    Gtk::Entry field_;
    Gtk::Button clearButton_;
    Gtk::Label countLabel_;
    Gtk::Button previousButton_;
    Gtk::Button nextButton_;
    Gtk::Button doneButton_;
    Glib::RefPtr<Gtk::EventControllerKey> fieldKeys_;
    sigc::connection fieldChanged_;
};

} // namespace quessel::core
