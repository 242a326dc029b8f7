// Every shortcut of the application and of the page, as the Keyboard Shortcuts window lists them.
#include "app/KeyboardShortcuts.hpp"

#include "app/AppCommands.hpp"
#include "app/AppMenu.hpp"
#include "app/NodeCommands.hpp"
#include "page/HtmlEscape.hpp"
#include "viewer_core/ZoomCommands.hpp"
#include "viewer_core/gtk/ZoomMenuCommands.hpp"

namespace quessel::app {
namespace {

KeyboardShortcut command(std::string title, std::string action) {
    return {std::move(title), std::move(action), {}};
}

KeyboardShortcut keys(std::string title, std::string accelerators) {
    return {std::move(title), {}, std::move(accelerators)};
}

KeyboardShortcut zoomCommand(std::string_view title, const char* action) {
    return command(std::string(title), std::string("app.") + action);
}

void appendProperty(std::string& out, const char* name, const std::string& value) {
    out.append(R"(<property name=")").append(name).append(R"(">)");
    page::appendEscaped(out, value);
    out.append("</property>");
}

} // namespace

std::vector<ShortcutGroup> keyboardShortcuts() {
    std::vector<KeyboardShortcut> folding = {
        command("Expand All", NodeCommands::expandAll),
        command("Collapse All", NodeCommands::collapseAll),
    };
    for (int level = 1; level <= NodeCommands::menuLevels; ++level) {
        folding.push_back(
            command("Expand to Level " + std::to_string(level), AppMenu::expandToLevelItem(level)));
    }
    return {
        {"Files",
         {command("Open", AppCommands::open), command("Save", AppCommands::save),
          command("Reload", AppCommands::reload), command("Close", AppCommands::close),
          command("Quit", AppCommands::quit)}},
        {"Document",
         {command("Find", AppCommands::find), command("Copy Node Path", NodeCommands::copyPath),
          command("Copy Node Value", NodeCommands::copyValue),
          command("Show in Editor", NodeCommands::showInEditor)}},
        {"View",
         {zoomCommand(core::ZoomCommands::zoomInTitle, core::ZoomMenuCommands::zoomInAction),
          zoomCommand(core::ZoomCommands::zoomOutTitle, core::ZoomMenuCommands::zoomOutAction),
          zoomCommand(core::ZoomCommands::actualSizeTitle,
                      core::ZoomMenuCommands::actualSizeAction)}},
        {"Folding", std::move(folding)},
        {"Moving in the Tree",
         {keys("Next row", "Down j"), keys("Previous row", "Up k"),
          keys("A screen down", "Page_Down"), keys("A screen up", "Page_Up"),
          keys("First row", "Home g"), keys("Last row", "End <Shift>g"),
          keys("Expand, or go to the first child", "Right l"),
          keys("Collapse, or go to the parent", "Left h")}},
        {"Folding in the Tree",
         {keys("Expand or collapse the row", "space Return"),
          keys("Expand the row and all below it", "<Shift>Right asterisk"),
          keys("Collapse the row and all below it", "<Shift>Left"),
          keys("Show the document to that many levels", "1...9")}},
        {"General", {command("Keyboard Shortcuts", AppCommands::shortcuts)}},
    };
}

std::string shortcutsWindowUi() {
    std::string out = R"(<?xml version="1.0" encoding="UTF-8"?><interface>)"
                      R"(<object class="GtkShortcutsWindow" id="shortcuts">)"
                      R"(<property name="modal">1</property><child>)"
                      R"(<object class="GtkShortcutsSection">)"
                      R"(<property name="section-name">shortcuts</property>)"
                      R"(<property name="max-height">12</property>)";
    for (const ShortcutGroup& group : keyboardShortcuts()) {
        out.append(R"(<child><object class="GtkShortcutsGroup">)");
        appendProperty(out, "title", group.title);
        for (const KeyboardShortcut& shortcut : group.shortcuts) {
            out.append(R"(<child><object class="GtkShortcutsShortcut">)");
            appendProperty(out, "title", shortcut.title);
            if (!shortcut.action.empty()) {
                appendProperty(out, "action-name", shortcut.action);
            } else {
                appendProperty(out, "accelerator", shortcut.keys);
            }
            out.append("</object></child>");
        }
        out.append("</object></child>");
    }
    out.append("</object></child></object></interface>");
    return out;
}

} // namespace quessel::app
