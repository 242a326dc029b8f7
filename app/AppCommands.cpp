// The application's menu commands: their actions, shortcuts and enabled states, which follow the
// document model live.
#include "app/AppCommands.hpp"

#include "app/AppMenu.hpp"
#include "app/FileFollower.hpp"
#include "app/NodeCommands.hpp"

#include <glibmm/main.h>

#include <string_view>

namespace quessel::app {
namespace {

// The name under which an action is added: its detailed name without the "app." group.
Glib::ustring bare(std::string_view detailed) {
    return Glib::ustring(std::string(detailed.substr(detailed.find('.') + 1)));
}

} // namespace

AppCommands::AppCommands(Gtk::Application& application, core::ViewerAppState& appState,
                         UnsavedChangesGuard& guard, FileFollower& follower,
                         core::ViewerAppDelegate& delegate, AppMenu& menu, Routes routes)
    : appState_(appState), guard_(guard), follower_(follower), delegate_(delegate), menu_(menu),
      routes_(std::move(routes)) {
    addActions(application);
    setAccelerators(application);
    willChange_ = appState_.signalWillChange().connect([this] { scheduleRefresh(); });
    refresh();
}

AppCommands::~AppCommands() {
    willChange_.disconnect();
    pendingRefresh_.disconnect();
}

void AppCommands::addActions(Gtk::Application& application) {
    application.add_action(bare(open), [this] {
        delegate_.ensureWindowVisible();
        routes_.showOpenPanel();
    });
    close_ = application.add_action(bare(close), [this] { guard_.close(); });
    save_ = application.add_action(bare(save), [this] { guard_.save(); });
    reload_ = application.add_action(bare(reload), [this] { follower_.reload(); });
    // A check item: the action's state is the setting's.
    auto following =
        application.add_action_bool(bare(reloadWhenChanged), follower_.reloadsWhenChanged());
    following->signal_activate().connect([this, action = following.get()](const auto&) {
        const bool enabled = !follower_.reloadsWhenChanged();
        follower_.setReloadsWhenChanged(enabled);
        action->set_state(Glib::Variant<bool>::create(enabled));
    });
    application.add_action_with_parameter(
        bare(openRecent), Glib::VARIANT_TYPE_STRING,
        [this](const Glib::VariantBase& uri) { openRecentFile(uri); });
    application.add_action(bare(clearRecent), [this] { appState_.clearRecentFiles(); });
    application.add_action(bare(noRecentFiles))->set_enabled(false);
    application.add_action(bare(quit), [this] { routes_.quit(); });
    application.add_action(bare(about), [this] { routes_.showAbout(); });
}

void AppCommands::setAccelerators(Gtk::Application& application) {
    application.set_accels_for_action(open, {"<Control>o"});
    application.set_accels_for_action(close, {"<Control>w"});
    application.set_accels_for_action(save, {"<Control>s"});
    application.set_accels_for_action(reload, {"<Control>r"});
    application.set_accels_for_action(quit, {"<Control>q"});
    application.set_accels_for_action(find, {"<Control>f"});
    application.set_accels_for_action(shortcuts, {"<Control>question"});
    application.set_accels_for_action(NodeCommands::copyPath, {"<Control><Shift>c"});
    application.set_accels_for_action(NodeCommands::copyValue, {"<Control><Alt>c"});
    application.set_accels_for_action(NodeCommands::showInEditor, {"<Control>e"});
    // Brackets as code editors fold with them; none of the desktop's own shortcuts use them.
    application.set_accels_for_action(NodeCommands::expandAll, {"<Control>bracketright"});
    application.set_accels_for_action(NodeCommands::collapseAll, {"<Control>bracketleft"});
    for (int level = 1; level <= NodeCommands::menuLevels; ++level) {
        application.set_accels_for_action(AppMenu::expandToLevelItem(level),
                                          {"<Control><Alt>" + std::to_string(level)});
    }
}

void AppCommands::openRecentFile(const Glib::VariantBase& uri) {
    const auto text = Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(uri).get();
    const auto url = core::FileUrl::fromUri(text.raw());
    if (!url)
        return;
    delegate_.ensureWindowVisible();
    guard_.open(*url);
}

void AppCommands::scheduleRefresh() {
    if (pendingRefresh_.connected())
        return;
    pendingRefresh_ = Glib::signal_idle().connect([this] {
        refresh();
        return false;
    });
}

void AppCommands::refresh() {
    pendingRefresh_.disconnect();
    const bool hasFile = appState_.fileURL().has_value();
    close_->set_enabled(hasFile);
    reload_->set_enabled(hasFile);
    save_->set_enabled(hasFile && appState_.isDirty());
    // Rebuilding the submenu closes it if it is open: only do it when the list changed.
    if (!recentShown_ || shownRecentFiles_ != appState_.recentFiles()) {
        shownRecentFiles_ = appState_.recentFiles();
        recentShown_ = true;
        menu_.showRecentFiles(shownRecentFiles_);
    }
}

} // namespace quessel::app
