// The whole content of a document window: empty state, raw editor or rendered page, and toolbar.
#include "app/ContentView.hpp"

#include "viewer_core/gtk/WindowConfiguration.hpp"

#include <adwaita.h>
#include <glibmm/main.h>
#include <glibmm/markup.h>
#include <gtkmm/dialog.h>
#include <gtkmm/filefilter.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace quessel::app {
namespace {

bool hasYamlExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "yaml" || extension == "yml";
}

} // namespace

ContentView::ContentView(core::ViewerAppState& appState, core::SharedSettings& settings,
                         web::YAMLWebView::PageSource pageSource)
    : Gtk::Box(Gtk::Orientation::VERTICAL), appState_(appState), settings_(settings),
      openRequest_([this](const core::FileUrl& url) { appState_.openFile(url); }),
      saveRequest_([this] { saveAndReport(); }),
      editToggle_("Edit", "View", [this](bool editing) { appState_.setIsEditing(editing); }),
      saveButton_([this] { requestSave(); }),
      copyButton_("Copy", [this] { return std::string_view(appState_.fileContent()); }),
      openButton_([this] { openFile(); }),
      emptyState_(
          "text-x-generic-symbolic", "Open a YAML file to get started",
          [this](const core::FileUrl& url) { requestOpen(url); }, [this] { openFile(); }),
      editor_([this](std::string text) { pushEditorText(std::move(text)); }),
      searchBar_([this](const std::string& text) { searchText_ = text; },
                 [this] { appState_.setShowSearch(false); }),
      webView_(
          std::move(pageSource), [this](int value) { setCurrentMatch(value); },
          [this](int value) { setTotalMatches(value); }),
      noticeBar_(FileNoticeBar::Routes{.reload = [this] { follower_->reload(); },
                                       .keepMine = [this] { follower_->keepMine(); },
                                       .save = [this] { requestSave(); }}),
      nodeCommands_(webView_,
                    NodeCommands::Routes{
                        .copy = [this](const std::string& text) { copyToClipboard(text); },
                        .showInEditor = [this](const yaml::Mark& mark) { showInEditor(mark); },
                        .showMessage = [this](const std::string& text) { showMessage(text); }}) {
    set_size_request(400, 300);
    buildHeaderBar();
    buildPages();
    shownFileURL_ = appState_.fileURL();
    reportedFailedOpens_ = appState_.failedOpenCount();
    appStateChanged_ = appState_.signalWillChange().connect([this] {
        ++changeCount_;
        scheduleRefresh();
    });
    settingsChanged_ = settings_.signalWillChange().connect([this] { scheduleRefresh(); });
    pageBusy_ = webView_.signalBusyChanged().connect([this](bool busy) { pageBusyChanged(busy); });
    cursorChanged_ =
        webView_.signalCursorChanged().connect([this] { pathBar_.show(webView_.cursor()); });
    webView_.pageView().onContextMenu([this] { return nodeCommands_.contextMenuItems(); });
    webView_.setSearchSource([this] {
        return web::YAMLWebView::SearchState{searchText_, currentMatch_};
    });
    // Each time the content is shown in a window, that window takes 65 % of the work area.
    signal_realize().connect([this] {
        if (auto* window = dynamic_cast<Gtk::Window*>(get_root())) {
            core::WindowConfiguration::configure(*window, 0.65);
        }
    });
    refresh();
}

ContentView::~ContentView() {
    appStateChanged_.disconnect();
    settingsChanged_.disconnect();
    pendingRefresh_.disconnect();
    pageBusy_.disconnect();
    cursorChanged_.disconnect();
    followerNotice_.disconnect();
    followerReport_.disconnect();
    if (noticeToast_ != nullptr) {
        g_signal_handlers_disconnect_by_data(noticeToast_, this);
    }
    webView_.pageView().onContextMenu(nullptr);
}

void ContentView::buildHeaderBar() {
    spacer_.set_size_request(150, -1);
    headerBar_.pack_start(spacer_);
    headerBar_.set_title_widget(fileNameItem_);
    // Packed from the far end: Open sits rightmost, the edit toggle leftmost of the group.
    headerBar_.pack_end(openButton_);
    headerBar_.pack_end(copyButton_);
    headerBar_.pack_end(saveButton_);
    headerBar_.pack_end(editToggle_);
}

void ContentView::buildPages() {
    renderedPage_.append(searchBar_);
    webView_.set_vexpand(true);
    renderedPage_.append(webView_);
    renderedPage_.append(pathBar_);
    stack_.add(emptyState_, "empty");
    stack_.add(editor_, "editor");
    stack_.add(renderedPage_, "rendered");
    stack_.set_hexpand(true);
    stack_.set_vexpand(true);
    views_.set_child(stack_);
    views_.add_overlay(progress_);
    append(noticeBar_);
    toastOverlay_ = adw_toast_overlay_new();
    adw_toast_overlay_set_child(ADW_TOAST_OVERLAY(toastOverlay_), GTK_WIDGET(views_.gobj()));
    gtk_box_append(gobj(), toastOverlay_);
}

void ContentView::scheduleRefresh() {
    if (pendingRefresh_.connected()) {
        return;
    }
    // Ahead of layout and drawing, so the next frame shows the refreshed window.
    pendingRefresh_ = Glib::signal_idle().connect(
        [this] {
            refresh();
            return false;
        },
        Glib::PRIORITY_HIGH_IDLE);
}

void ContentView::refreshNow() {
    pendingRefresh_.disconnect();
    refresh();
}

void ContentView::refresh() {
    pendingRefresh_.disconnect();
    const bool hasFile = appState_.fileURL().has_value();
    refreshTitle();
    refreshNoticeBar();
    refreshToolbar(hasFile);
    refreshPages(hasFile);
    reportNewError();
}

void ContentView::setFileFollower(FileFollower* follower) {
    followerNotice_.disconnect();
    followerReport_.disconnect();
    follower_ = follower;
    if (follower_ != nullptr) {
        followerNotice_ = follower_->signalNoticeChanged().connect([this] { refreshNoticeBar(); });
        followerReport_ = follower_->signalReported().connect(
            [this](const std::string& message) { showNotice(message); });
    }
    refreshNoticeBar();
}

void ContentView::refreshNoticeBar() {
    const auto notice = follower_ != nullptr ? follower_->notice() : FileFollower::Notice::none;
    noticeBar_.show(notice, appState_.fileName());
}

void ContentView::refreshTitle() {
    if (appState_.fileURL() == shownFileURL_) {
        return;
    }
    shownFileURL_ = appState_.fileURL();
    if (auto* window = dynamic_cast<Gtk::Window*>(get_root())) {
        core::WindowConfiguration::updateTitle(*window, std::nullopt);
    }
}

void ContentView::refreshToolbar(bool hasFile) {
    spacer_.set_visible(hasFile);
    fileNameItem_.setUrl(appState_.fileURL());
    editToggle_.set_visible(hasFile);
    editToggle_.setEditing(appState_.isEditing());
    saveButton_.setDirty(hasFile && appState_.isDirty());
    copyButton_.set_visible(hasFile);
}

void ContentView::refreshPages(bool hasFile) {
    emptyState_.setRecentFiles(appState_.recentFiles());
    const char* page = !hasFile ? "empty" : appState_.isEditing() ? "editor" : "rendered";
    if (stack_.get_visible_child_name() != page) {
        stack_.set_visible_child(page);
        focusView(page);
    }
    nodeCommands_.setTreeShown(hasFile && !appState_.isEditing());
    if (appState_.fileURL() != cursorFileURL_) {
        cursorFileURL_ = appState_.fileURL();
        webView_.forgetView();
    }
    if (!hasFile) {
        // As a host created anew would, the next rendered view starts from a fresh page.
        webView_.forget();
        pageFileURL_.reset();
    } else if (appState_.isEditing()) {
        editor_.syncTo(appState_.fileContent(), changeCount_ == editorPushCount_);
    } else {
        // The page is generated only while it shows: typing in the editor never renders.
        const bool reloaded = appState_.reloadCount() != pageReloads_;
        pageReloads_ = appState_.reloadCount();
        webView_.update(appState_.fileContent(), fontSizeForPage(settings_.fontSize()), reloaded);
    }
    searchBar_.set_visible(appState_.showSearch());
    searchBar_.setSearchText(searchText_);
    searchBar_.setMatches(currentMatch_, totalMatches_);
    refreshProgress();
}

void ContentView::reportNewError() {
    const auto& error = appState_.errorMessage();
    if (!error || appState_.failedOpenCount() == reportedFailedOpens_) {
        return;
    }
    reportedFailedOpens_ = appState_.failedOpenCount();
    showMessage(*error);
}

void ContentView::pushEditorText(std::string text) {
    appState_.setFileContent(std::move(text));
    editorPushCount_ = changeCount_;
}

void ContentView::pageBusyChanged(bool busy) {
    if (busy) {
        const auto& url = appState_.fileURL();
        const bool sameFile = url.has_value() && url == pageFileURL_;
        pageFileURL_ = url;
        pageProgressText_ = (sameFile ? "Updating " : "Opening ") + appState_.fileName() + "…";
    }
    refreshProgress();
}

void ContentView::setOpening(std::optional<core::FileUrl> url) {
    openingURL_ = std::move(url);
    refreshProgress();
}

void ContentView::refreshProgress() {
    if (openingURL_) {
        progress_.start("Opening " + openingURL_->displayName() + "…");
    } else if (webView_.busy() && stack_.get_visible_child_name() == "rendered") {
        // A page being made for a view the user has left (the editor) keeps nobody waiting.
        progress_.start(pageProgressText_);
    } else {
        progress_.stop();
    }
}

void ContentView::setCurrentMatch(int value) {
    currentMatch_ = value;
    searchBar_.setMatches(currentMatch_, totalMatches_);
}

void ContentView::setTotalMatches(int value) {
    totalMatches_ = value;
    searchBar_.setMatches(currentMatch_, totalMatches_);
}

// The page's default is the setting's: a document shown before the settings are read looks the
// same as after.
static_assert(page::defaultFontSize == core::SharedSettings::defaultFontSize);

int ContentView::fontSizeForPage(double setting) noexcept {
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (!std::isfinite(setting) || setting <= lowest - 1.0 || setting >= highest + 1.0) {
        return page::defaultFontSize;
    }
    return static_cast<int>(setting);
}

void ContentView::requestOpen(const core::FileUrl& url) {
    if (openRequest_) {
        openRequest_(url);
    }
}

void ContentView::requestSave() {
    if (saveRequest_) {
        saveRequest_();
    }
}

void ContentView::saveAndReport() {
    if (!appState_.fileURL()) {
        return;
    }
    appState_.saveFile();
    // The model reports a failed save on standard output; the user hears of it here.
    if (const auto& error = appState_.lastSaveError()) {
        showMessage("Could not save file: " + *error);
    }
}

void ContentView::openFile() {
    auto* window = dynamic_cast<Gtk::Window*>(get_root());
    openDialog_ =
        Gtk::FileChooserNative::create("Open", Gtk::FileChooser::Action::OPEN, "_Open", "_Cancel");
    if (window != nullptr) {
        openDialog_->set_transient_for(*window);
    }
    openDialog_->set_modal(true);
    openDialog_->set_select_multiple(false);
    auto filter = Gtk::FileFilter::create();
    filter->set_name("YAML files");
    for (const char* type :
         {"application/yaml", "application/x-yaml", "text/yaml", "text/x-yaml"}) {
        filter->add_mime_type(type);
    }
    // Suffixes match in any case: .yaml, .YML, …
    filter->add_suffix("yaml");
    filter->add_suffix("yml");
    openDialog_->add_filter(filter);
    openDialog_->signal_response().connect([this](int response) {
        auto file = openDialog_->get_file();
        openDialog_->hide();
        if (response != static_cast<int>(Gtk::ResponseType::ACCEPT) || !file) {
            return;
        }
        if (auto url = core::FileUrl::fromUri(file->get_uri())) {
            requestOpen(*url);
        }
    });
    openDialog_->show();
}

bool ContentView::handleDrop(const std::vector<Glib::RefPtr<Gio::File>>& files) {
    if (files.empty()) {
        return false;
    }
    const auto& first = files.front();
    if (!first || !hasYamlExtension(first->get_basename())) {
        return true;
    }
    auto url = core::FileUrl::fromUri(first->get_uri());
    if (!url) {
        return true;
    }
    // The open runs after the drop has been answered, as a separate main-loop turn.
    Glib::signal_idle().connect_once(
        sigc::track_object([this, url = *url] { requestOpen(url); }, *this));
    return true;
}

void ContentView::focusView(const Glib::ustring& name) {
    if (name == "editor") {
        editor_.textView().grab_focus();
    } else if (name == "rendered") {
        gtk_widget_grab_focus(webView_.pageView().widget());
    }
}

void ContentView::showInEditor(const yaml::Mark& mark) {
    appState_.setIsEditing(true);
    refreshNow();
    editor_.placeCursor(mark.line, mark.column);
    editor_.textView().grab_focus();
}

void ContentView::copyToClipboard(const std::string& text) {
    get_clipboard()->set_text(text);
}

core::FindAction ContentView::findAction() {
    return core::FindAction([this] { appState_.setShowSearch(true); });
}

void ContentView::showNotice(const std::string& message) {
    if (noticeToast_ != nullptr) {
        adw_toast_set_title(noticeToast_, Glib::Markup::escape_text(message).c_str());
        messageShown_.emit(message);
        return;
    }
    noticeToast_ = adw_toast_new(Glib::Markup::escape_text(message).c_str());
    g_signal_connect(noticeToast_, "dismissed", G_CALLBACK(+[](AdwToast*, gpointer self) {
                         static_cast<ContentView*>(self)->noticeToast_ = nullptr;
                     }),
                     this);
    adw_toast_overlay_add_toast(ADW_TOAST_OVERLAY(toastOverlay_), noticeToast_);
    messageShown_.emit(message);
}

void ContentView::showMessage(const std::string& message) {
    AdwToast* toast = adw_toast_new(Glib::Markup::escape_text(message).c_str());
    adw_toast_overlay_add_toast(ADW_TOAST_OVERLAY(toastOverlay_), toast);
    messageShown_.emit(message);
}

} // namespace quessel::app
