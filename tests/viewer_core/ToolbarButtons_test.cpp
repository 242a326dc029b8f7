// The toolbar controls: titles, icons, help texts, visibility, and what their clicks do.
#include "tests/support/Click.hpp"
#include "tests/support/ClipboardText.hpp"
#include "viewer_core/gtk/CopyRawButton.hpp"
#include "viewer_core/gtk/EditToggleButton.hpp"
#include "viewer_core/gtk/FileNameToolbarItem.hpp"
#include "viewer_core/gtk/FindAction.hpp"
#include "viewer_core/gtk/OpenButton.hpp"
#include "viewer_core/gtk/SaveButton.hpp"

#include <giomm/simpleactiongroup.h>
#include <gtest/gtest.h>

namespace quessel::core {
namespace {

TEST(EditToggleButton, ShowsEditWithPencilOverThePageAndViewWithEyeInTheEditor) {
    EditToggleButton button("Edit", "View", [](bool) {});
    EXPECT_EQ(button.title(), "Edit");
    EXPECT_EQ(button.iconName(), "document-edit-symbolic");
    EXPECT_EQ(button.get_tooltip_text(), "Edit raw content");
    button.setEditing(true);
    EXPECT_EQ(button.title(), "View");
    EXPECT_EQ(button.iconName(), "view-reveal-symbolic");
    EXPECT_EQ(button.get_tooltip_text(), "Show rendered view");
}

TEST(EditToggleButton, AClickAsksForTheInverseOfTheShownState) {
    std::vector<bool> requests;
    EditToggleButton button("Edit", "View", [&](bool editing) { requests.push_back(editing); });
    quessel::testing::click(button);
    button.setEditing(true);
    quessel::testing::click(button);
    EXPECT_EQ(requests, (std::vector<bool>{true, false}));
}

TEST(SaveButton, TakesNoSpaceWhileCleanAndShowsOnTheFirstEdit) {
    int saves = 0;
    SaveButton button([&] { ++saves; });
    EXPECT_FALSE(button.get_visible());
    button.setDirty(true);
    EXPECT_TRUE(button.get_visible());
    EXPECT_EQ(button.title(), "Save");
    EXPECT_EQ(button.iconName(), "document-save-symbolic");
    EXPECT_EQ(button.get_tooltip_text(), "Save changes (Ctrl+S)");
    quessel::testing::click(button);
    EXPECT_EQ(saves, 1);
    button.setDirty(false);
    EXPECT_FALSE(button.get_visible());
}

TEST(OpenButton, CarriesItsTitleIconAndHelpAndRunsTheAction) {
    int opens = 0;
    OpenButton button([&] { ++opens; });
    EXPECT_EQ(button.title(), "Open");
    EXPECT_EQ(button.iconName(), "document-open-symbolic");
    EXPECT_EQ(button.get_tooltip_text(), "Open a file");
    quessel::testing::click(button);
    EXPECT_EQ(opens, 1);
}

TEST(CopyRawButton, PutsTheCurrentTextOnTheClipboardWhenClicked) {
    std::string content = "first";
    CopyRawButton button("Copy", [&] { return std::string_view(content); });
    EXPECT_EQ(button.title(), "Copy");
    EXPECT_EQ(button.iconName(), "edit-copy-symbolic");
    EXPECT_EQ(button.get_tooltip_text(), "Copy raw content");
    content = "key: value\nlist:\n  - é\n";
    quessel::testing::click(button);
    EXPECT_EQ(quessel::testing::clipboardText(button), content);
}

TEST(FileNameToolbarItem, ShowsNothingWithoutAFile) {
    FileNameToolbarItem item;
    EXPECT_FALSE(item.get_visible());
    item.setUrl(FileUrl::fromPath("/tmp/a.yaml"));
    item.setUrl(std::nullopt);
    EXPECT_FALSE(item.get_visible());
    EXPECT_EQ(item.shownName(), "");
}

TEST(FileNameToolbarItem, ShowsTheNameWithThePathAsHelpAndCopiesThePathNotAUri) {
    FileNameToolbarItem item;
    item.setUrl(FileUrl::fromPath("/tmp/some folder/config.yml"));
    EXPECT_TRUE(item.get_visible());
    EXPECT_EQ(item.shownName(), "config.yml");
    auto* name = item.get_first_child();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->get_tooltip_text(), "/tmp/some folder/config.yml");
    auto* copy = name->get_next_sibling();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->get_tooltip_text(), "Copy full path");
    quessel::testing::click(*copy);
    EXPECT_EQ(quessel::testing::clipboardText(item), "/tmp/some folder/config.yml");
}

TEST(FindAction, RunsItsActionWhenCalledAndWhenActivatedAsWinFind) {
    int finds = 0;
    const FindAction find([&] { ++finds; });
    find();
    auto group = Gio::SimpleActionGroup::create();
    group->add_action(find.toAction());
    group->activate_action("find");
    EXPECT_EQ(finds, 2);
}

} // namespace
} // namespace quessel::core
