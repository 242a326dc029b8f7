// The empty state: its message and Open button, and the recent files with elided paths.
#include "tests/support/Click.hpp"
#include "viewer_core/gtk/EmptyStateView.hpp"

#include <gtest/gtest.h>

namespace quessel::core {
namespace {

class EmptyStateViewTest : public ::testing::Test {
protected:
    std::vector<std::string> opened;
    int panels = 0;
    EmptyStateView view{"text-x-generic-symbolic", "Open a YAML file to get started",
                        [this](const FileUrl& url) { opened.push_back(url.path()); },
                        [this] { ++panels; }};
};

TEST_F(EmptyStateViewTest, ShowsIconMessageAndOpenButton) {
    auto* icon = dynamic_cast<Gtk::Image*>(view.get_first_child());
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->get_icon_name(), "text-x-generic-symbolic");
    auto* message = dynamic_cast<Gtk::Label*>(icon->get_next_sibling());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->get_text(), "Open a YAML file to get started");
    EXPECT_EQ(view.openButton().get_label(), "Open...");
    quessel::testing::click(view.openButton());
    EXPECT_EQ(panels, 1);
}

TEST_F(EmptyStateViewTest, AnEmptyListShowsNoHeader) {
    view.setRecentFiles({});
    EXPECT_EQ(view.recentList().get_first_child(), nullptr);
    view.setRecentFiles({*FileUrl::fromPath("/tmp/a.yaml")});
    view.setRecentFiles({});
    EXPECT_EQ(view.recentList().get_first_child(), nullptr);
}

TEST_F(EmptyStateViewTest, ListsRecentFilesInOrderAndOpensTheClickedOne) {
    const std::string longPath = "/home/someone/projects/" + std::string(200, 'x') + "/deploy.yml";
    view.setRecentFiles({*FileUrl::fromPath("/tmp/a.yaml"), *FileUrl::fromPath(longPath)});
    auto* header = dynamic_cast<Gtk::Label*>(view.recentList().get_first_child());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->get_text(), "Recent Files");
    const auto rows = view.recentRows();
    ASSERT_EQ(rows.size(), 2u);
    auto* label = dynamic_cast<Gtk::Label*>(rows[1]->get_child());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->get_text().raw(), longPath);
    EXPECT_EQ(label->get_ellipsize(), Pango::EllipsizeMode::MIDDLE);
    EXPECT_TRUE(label->get_single_line_mode());
    ASSERT_TRUE(rows[1]->get_cursor());
    EXPECT_EQ(rows[1]->get_cursor()->get_name(), "pointer");
    quessel::testing::click(*rows[1]);
    quessel::testing::click(*rows[0]);
    EXPECT_EQ(opened, (std::vector<std::string>{longPath, "/tmp/a.yaml"}));
}

} // namespace
} // namespace quessel::core
