// The whole content of a document window: empty state, raw editor or rendered page, and toolbar.
#pragma once

#include "app/FileFollower.hpp"
#include "app/FileNoticeBar.hpp"
#include "app/NodeCommands.hpp"
#include "app/OpeningProgress.hpp"
#include "app/PathBar.hpp"
#include "app/RawEditor.hpp"
#include "app/web/DocumentPages.hpp"
#include "app/web/YAMLWebView.hpp"
#include "viewer_core/SharedSettings.hpp"
#include "viewer_core/ViewerAppState.hpp"
#include "viewer_core/gtk/CopyRawButton.hpp"
#include "viewer_core/gtk/EditToggleButton.hpp"
#include "viewer_core/gtk/EmptyStateView.hpp"
#include "viewer_core/gtk/FileNameToolbarItem.hpp"
#include "viewer_core/gtk/FindAction.hpp"
#include "viewer_core/gtk/OpenButton.hpp"
#include "viewer_core/gtk/SaveButton.hpp"
#include "viewer_core/gtk/SearchBar.hpp"

#include <adwaita.h>
#include <giomm/file.h>
#include <gtkmm/box.h>
#include <gtkmm/filechoosernative.h>
#include <gtkmm/headerbar.h>
#include <gtkmm/overlay.h>
#include <gtkmm/stack.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quessel::app {

// Holds no document data: every decision goes to the document model, which the view re-reads in
// one idle refresh per burst of change notifications. It owns the window-local search text and
// match counts, which outlive switches between its three views.
class ContentView : public Gtk::Box {
public:
    using OpenRequest = std::function<void(const core::FileUrl&)>;
    using SaveRequest = std::function<void()>;

    // `pageSource` makes the rendered page from the text, the font size and the appearance, on a
    // worker thread; by default the application's page generation.
    ContentView(core::ViewerAppState& appState, core::SharedSettings& settings,
                web::YAMLWebView::PageSource pageSource = web::documentPages());
    ~ContentView() override;

    // The toolbar, for the window's title bar.
    Gtk::HeaderBar& headerBar() noexcept { return headerBar_; }

    // Every open this window starts (recent file, Open dialog, drop) goes through one request,
    // which opens the file by default; the application may install one that asks first.
    void setOpenRequest(OpenRequest request) { openRequest_ = std::move(request); }
    void requestOpen(const core::FileUrl& url);
    // The Save button's request; saves and reports a failure by default.
    void setSaveRequest(SaveRequest request) { saveRequest_ = std::move(request); }
    void requestSave();
    // Saves and, if the document is still dirty afterwards, tells the user the save failed.
    void saveAndReport();

    // Shows the Open dialog, modal to the window; a chosen file goes to the open request.
    void openFile();
    // The dialog last shown by openFile, for tests.
    Glib::RefPtr<Gtk::FileChooserNative> openDialog() const noexcept { return openDialog_; }
    // Files dropped on the window: only the first counts, and only with a yaml or yml
    // extension in any case. Answers whether the drop is taken (any non-empty drop is).
    bool handleDrop(const std::vector<Glib::RefPtr<Gio::File>>& files);

    core::FindAction findAction();
    // The commands on the tree and its cursor node, whose actions the window adds.
    NodeCommands& nodeCommands() noexcept { return nodeCommands_; }

    // Switches to the editor with its text cursor at the mark, that line in view.
    void showInEditor(const yaml::Mark& mark);

    // A setting that is not a finite number within the range of int is passed as the default.
    static int fontSizeForPage(double setting) noexcept;

    // The file being read for opening, if any: the window tells of it while it takes long.
    void setOpening(std::optional<core::FileUrl> url);

    // The application's follower of the file on disk, whose notices and messages this window
    // shows and whose choices its bar offers; none leaves the bar hidden.
    void setFileFollower(FileFollower* follower);

    // Shows a short message over the content (a toast), and tells observers.
    void showMessage(const std::string& message);
    // The same for a passing notice that may come again soon (a file reloaded as it grows):
    // one toast shows it, however often it comes.
    void showNotice(const std::string& message);
    sigc::signal<void(const std::string&)>& signalMessageShown() noexcept { return messageShown_; }

    // Runs the pending refresh now (tests and benchmarks; the idle refresh does the same).
    void refreshNow();

    // Window-local search state.
    const std::string& searchText() const noexcept { return searchText_; }
    int currentMatch() const noexcept { return currentMatch_; }
    int totalMatches() const noexcept { return totalMatches_; }
    // The write halves of the count bindings, which the web view host calls.
    void setCurrentMatch(int value);
    void setTotalMatches(int value);

    // The parts, for the window and for tests.
    Gtk::Stack& stack() noexcept { return stack_; }
    core::EmptyStateView& emptyState() noexcept { return emptyState_; }
    RawEditor& editor() noexcept { return editor_; }
    core::SearchBar& searchBar() noexcept { return searchBar_; }
    web::YAMLWebView& renderedView() noexcept { return webView_; }
    OpeningProgress& progress() noexcept { return progress_; }
    PathBar& pathBar() noexcept { return pathBar_; }
    FileNoticeBar& noticeBar() noexcept { return noticeBar_; }
    core::FileNameToolbarItem& fileNameItem() noexcept { return fileNameItem_; }
    core::EditToggleButton& editToggle() noexcept { return editToggle_; }
    core::SaveButton& saveButton() noexcept { return saveButton_; }
    core::CopyRawButton& copyButton() noexcept { return copyButton_; }
    core::OpenButton& openButton() noexcept { return openButton_; }
    Gtk::Widget& leadingSpacer() noexcept { return spacer_; }

private:
    void buildHeaderBar();
    void buildPages();
    void scheduleRefresh();
    void refresh();
    void refreshToolbar(bool hasFile);
    void refreshPages(bool hasFile);
    void refreshTitle();
    void reportNewError();
    void pushEditorText(std::string text);
    void pageBusyChanged(bool busy);
    void refreshProgress();
    // Keyboard focus goes with the view: the editor takes it when shown, the page when the
    // viewer returns.
    void focusView(const Glib::ustring& name);
    void copyToClipboard(const std::string& text);
    void refreshNoticeBar();

    core::ViewerAppState& appState_;
    core::SharedSettings& settings_;
    std::string searchText_;
    int currentMatch_ = 0;
    int totalMatches_ = 0;

    OpenRequest openRequest_;
    SaveRequest saveRequest_;
    sigc::signal<void(const std::string&)> messageShown_;
    sigc::connection appStateChanged_;
    sigc::connection settingsChanged_;
    sigc::connection pendingRefresh_;

    // Model assignments seen so far, and the count right after the editor's last push: equal
    // counts mean the text is still the editor's own, so a keystroke's refresh need not compare
    // megabytes of text.
    std::uint64_t changeCount_ = 0;
    std::uint64_t editorPushCount_ = UINT64_MAX;
    std::optional<core::FileUrl> shownFileURL_;
    // The file the newest page was requested for: a page for another one is an opening, a page
    // for the same one an update after an edit.
    std::optional<core::FileUrl> pageFileURL_;
    // The file the page's cursor belongs to: another file's page starts without one.
    std::optional<core::FileUrl> cursorFileURL_;
    // The model's reload count as of the last page requested.
    std::uint64_t pageReloads_ = 0;
    std::string pageProgressText_;
    std::optional<core::FileUrl> openingURL_;
    sigc::connection pageBusy_;
    // The model's count of failed opens as of the last message shown; a new failure shows even
    // when its text repeats the previous one.
    std::uint64_t reportedFailedOpens_ = 0;

    Gtk::HeaderBar headerBar_;
    Gtk::Box spacer_;
    core::FileNameToolbarItem fileNameItem_;
    core::EditToggleButton editToggle_;
    core::SaveButton saveButton_;
    core::CopyRawButton copyButton_;
    core::OpenButton openButton_;

    FileFollower* follower_ = nullptr;
    sigc::connection followerNotice_;
    sigc::connection followerReport_;

    GtkWidget* toastOverlay_ = nullptr;
    // The passing notice's toast while it shows (the overlay owns it).
    AdwToast* noticeToast_ = nullptr;
    // The views, with the progress over them.
    Gtk::Overlay views_;
    Gtk::Stack stack_;
    core::EmptyStateView emptyState_;
    RawEditor editor_;
    Gtk::Box renderedPage_{Gtk::Orientation::VERTICAL, 0};
    core::SearchBar searchBar_;
    web::YAMLWebView webView_;
    PathBar pathBar_;
    FileNoticeBar noticeBar_;
    NodeCommands nodeCommands_;
    sigc::connection cursorChanged_;
    OpeningProgress progress_;
    Glib::RefPtr<Gtk::FileChooserNative> openDialog_;
};

} // namespace quessel::app
