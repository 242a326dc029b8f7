// The About window: version from the build, maker credit, campaign link, invalid addresses.
#include "tests/support/MainLoop.hpp"
#include "viewer_core/gtk/AboutPanel.hpp"

#include <adwaita.h>
#include <gtest/gtest.h>

namespace quessel::core {
namespace {

class AboutPanelTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (about != nullptr)
            gtk_window_destroy(GTK_WINDOW(about));
        quessel::testing::runFor(std::chrono::milliseconds(10));
    }
    AdwAboutWindow* about = nullptr;
};

TEST_F(AboutPanelTest, VersionIsTheProjectVersion) {
    EXPECT_EQ(AboutPanel::version(), QUESSEL_TEST_PROJECT_VERSION);
}

TEST_F(AboutPanelTest, CampaignLinkAppendsTheQuery) {
    EXPECT_EQ(AboutPanel::campaignLink("https://quessel.org", "quessel"),
              "https://quessel.org?utm_source=quessel&utm_medium=app&utm_campaign=about");
}

TEST_F(AboutPanelTest, CampaignLinkRejectsAddressesThatAreNotWebAddresses) {
    EXPECT_EQ(AboutPanel::campaignLink("not a url", "quessel"), std::nullopt);
    EXPECT_EQ(AboutPanel::campaignLink("", "quessel"), std::nullopt);
    EXPECT_EQ(AboutPanel::campaignLink("https://exa mple.org", "quessel"), std::nullopt);
    EXPECT_EQ(AboutPanel::campaignLink("javascript:alert(1)", "x"), std::nullopt);
}

TEST_F(AboutPanelTest, ShowsNameVersionMakerAndLink) {
    about = AboutPanel::show(nullptr, "Quessel", "The Quessel developers", "https://quessel.org",
                             "quessel");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(about)));
    EXPECT_STREQ(adw_about_window_get_application_name(about), "Quessel");
    EXPECT_STREQ(adw_about_window_get_version(about), QUESSEL_TEST_PROJECT_VERSION);
    EXPECT_STREQ(adw_about_window_get_developer_name(about), "The Quessel developers");
    EXPECT_STREQ(adw_about_window_get_website(about),
                 "https://quessel.org?utm_source=quessel&utm_medium=app&utm_campaign=about");
}

TEST_F(AboutPanelTest, AnInvalidAddressStillShowsTheWindowWithoutALink) {
    about = AboutPanel::show(nullptr, "Quessel", "The Quessel developers",
                             "::not an address::", "quessel");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(about)));
    const char* website = adw_about_window_get_website(about);
    EXPECT_TRUE(website == nullptr || *website == '\0');
}

TEST_F(AboutPanelTest, IsModalToItsParent) {
    Gtk::Window parent;
    parent.present();
    about = AboutPanel::show(&parent, "Quessel", "Maker", "https://quessel.org", "quessel");
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(about)), parent.gobj());
    EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(about)));
    gtk_window_destroy(GTK_WINDOW(about));
    about = nullptr;
}

} // namespace
} // namespace quessel::core
