// The commands on the cursor's node and on the whole tree: copy its path or value, show it in
// the editor, expand and collapse.
#include "app/NodeCommands.hpp"

#include <glibmm/variant.h>

#include <algorithm>

namespace quessel::app {
namespace {

Glib::RefPtr<Gio::SimpleAction> action(const char* detailed, std::function<void()> run) {
    const std::string name = std::string(detailed).substr(std::string_view(detailed).find('.') + 1);
    auto made = Gio::SimpleAction::create(name);
    made->signal_activate().connect([run = std::move(run)](const Glib::VariantBase&) { run(); });
    return made;
}

} // namespace

NodeCommands::NodeCommands(web::YAMLWebView& page, Routes routes)
    : page_(page), routes_(std::move(routes)),
      lookup_([this](Found node) { found(std::move(node)); }) {
    copyPath_ = action(copyPath, [this] {
        if (const auto& cursor = page_.cursor()) {
            routes_.copy(cursor->path.text());
        }
    });
    copyValue_ = action(copyValue, [this] {
        locate([this](const yaml::LocatedNode& node) { routes_.copy(node.value); });
    });
    showInEditor_ = action(showInEditor, [this] {
        locate([this](const yaml::LocatedNode& node) { routes_.showInEditor(node.label); });
    });
    expandAll_ = action(expandAll, [this] { page_.expandAll(); });
    collapseAll_ = action(collapseAll, [this] { page_.collapseAll(); });
    expandToLevel_ = Gio::SimpleAction::create("expand-to-level", Glib::VARIANT_TYPE_INT32);
    expandToLevel_->signal_activate().connect([this](const Glib::VariantBase& target) {
        if (target.is_of_type(Glib::VARIANT_TYPE_INT32)) {
            const int level = Glib::VariantBase::cast_dynamic<Glib::Variant<gint32>>(target).get();
            page_.expandToLevel(std::max(level, 1));
        }
    });
    cursorChanged_ = page_.signalCursorChanged().connect([this] { refresh(); });
    refresh();
}

std::vector<Glib::RefPtr<Gio::SimpleAction>> NodeCommands::actions() const {
    return {copyPath_, copyValue_, showInEditor_, expandAll_, collapseAll_, expandToLevel_};
}

void NodeCommands::setTreeShown(bool shown) {
    if (treeShown_ != shown) {
        treeShown_ = shown;
        refresh();
    }
}

void NodeCommands::refresh() {
    const bool onNode = treeShown_ && page_.cursor().has_value();
    for (const auto& nodeAction : {copyPath_, copyValue_, showInEditor_}) {
        nodeAction->set_enabled(onNode);
    }
    for (const auto& foldAction : {expandAll_, collapseAll_, expandToLevel_}) {
        foldAction->set_enabled(treeShown_);
    }
}

std::vector<web::PageWebView::MenuItem> NodeCommands::contextMenuItems() const {
    if (!treeShown_ || !page_.cursor()) {
        return {};
    }
    return {{"Copy Node Path", G_ACTION(copyPath_->gobj()), nullptr},
            {"Copy Node Value", G_ACTION(copyValue_->gobj()), nullptr},
            {"Show in Editor", G_ACTION(showInEditor_->gobj()), nullptr}};
}

void NodeCommands::locate(std::function<void(const yaml::LocatedNode&)> then) {
    const auto& cursor = page_.cursor();
    if (!cursor) {
        return;
    }
    then_ = std::move(then);
    lookup_.start([text = page_.coordinator().sharedLastContent(),
                   path = cursor->path](const std::atomic<bool>&) -> Found {
        try {
            return yaml::locateNode(*text, path);
        } catch (...) {
            // A text the page was made from but that no longer loads has no such node.
            return std::nullopt;
        }
    });
}

void NodeCommands::found(Found node) {
    auto then = std::exchange(then_, nullptr);
    if (!node) {
        routes_.showMessage("The node is no longer in the document");
        return;
    }
    if (then) {
        then(*node);
    }
}

} // namespace quessel::app
