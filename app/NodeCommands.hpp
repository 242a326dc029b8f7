// The commands on the cursor's node and on the whole tree: copy its path or value, show it in
// the editor, expand and collapse.
#pragma once

#include "app/BackgroundWork.hpp"
#include "app/web/PageWebView.hpp"
#include "app/web/YAMLWebView.hpp"
#include "yaml/NodeLocator.hpp"

#include <giomm/simpleaction.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quessel::app {

// The window's actions for the tree. The node commands act on the page's cursor row and are
// enabled while the tree shows with a cursor; folding is enabled while the tree shows. Finding
// a node in the text (for its value and its place) runs off the main thread, so that a large
// document never stalls the window.
class NodeCommands {
public:
    // Detailed action names as the menus name them.
    static constexpr const char* copyPath = "win.copy-node-path";
    static constexpr const char* copyValue = "win.copy-node-value";
    static constexpr const char* showInEditor = "win.show-in-editor";
    static constexpr const char* expandAll = "win.expand-all";
    static constexpr const char* collapseAll = "win.collapse-all";
    // Its target is the level, an int32 from 1.
    static constexpr const char* expandToLevel = "win.expand-to-level";
    // The levels the menu offers.
    static constexpr int menuLevels = 5;

    struct Routes {
        // Puts text on the window's clipboard.
        std::function<void(const std::string&)> copy;
        // Shows the editor with its text cursor at the mark.
        std::function<void(const yaml::Mark&)> showInEditor;
        std::function<void(const std::string&)> showMessage;
    };

    NodeCommands(web::YAMLWebView& page, Routes routes);

    // The actions, for the window to add.
    std::vector<Glib::RefPtr<Gio::SimpleAction>> actions() const;
    // Whether the rendered tree is what the window shows.
    void setTreeShown(bool shown);
    // The node items of the page's context menu, while a row is the cursor.
    std::vector<web::PageWebView::MenuItem> contextMenuItems() const;

private:
    using Found = std::optional<yaml::LocatedNode>;
    void refresh();
    // Finds the cursor's node in the page's text and hands it to `then`.
    void locate(std::function<void(const yaml::LocatedNode&)> then);
    void found(Found node);

    web::YAMLWebView& page_;
    Routes routes_;
    bool treeShown_ = false;
    Glib::RefPtr<Gio::SimpleAction> copyPath_;
    Glib::RefPtr<Gio::SimpleAction> copyValue_;
    Glib::RefPtr<Gio::SimpleAction> showInEditor_;
    Glib::RefPtr<Gio::SimpleAction> expandAll_;
    Glib::RefPtr<Gio::SimpleAction> collapseAll_;
    Glib::RefPtr<Gio::SimpleAction> expandToLevel_;
    std::function<void(const yaml::LocatedNode&)> then_;
    BackgroundWork<Found> lookup_;
    sigc::connection cursorChanged_;
};

} // namespace quessel::app
