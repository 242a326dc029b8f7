// The zoom commands within their bounds, writing the shared store, and the appearance setting
// reaching libadwaita's style manager live, also when another process writes it.
#include "tests/app/AppFixture.hpp"
#include "tests/support/MainLoop.hpp"
#include "viewer_core/SharedSettings.hpp"

#include <adwaita.h>
#include <glibmm/spawn.h>

namespace quessel::app {
namespace {

using core::SharedSettings;
using quessel::testing::runUntil;

class ZoomTest : public AppFixture {
protected:
    SharedSettings& settings = SharedSettings::shared();
    double stored() { return settings.defaults().doubleValue(SharedSettings::fontSizeKey); }
};

TEST_F(ZoomTest, ZoomInStopsAtTheMaximum) {
    settings.setFontSize(47);
    activate("zoom-in");
    EXPECT_EQ(settings.fontSize(), 48);
    activate("zoom-in");
    EXPECT_EQ(settings.fontSize(), 48);
    EXPECT_EQ(stored(), 48);
}

TEST_F(ZoomTest, ZoomOutStopsAtTheMinimum) {
    settings.setFontSize(9);
    activate("zoom-out");
    activate("zoom-out");
    EXPECT_EQ(settings.fontSize(), 8);
    EXPECT_EQ(stored(), 8);
}

TEST_F(ZoomTest, SizesBetweenStepsMoveByOneStep) {
    settings.setFontSize(47.5);
    activate("zoom-in");
    EXPECT_EQ(settings.fontSize(), 48);
    settings.setFontSize(47.5);
    activate("zoom-out");
    EXPECT_EQ(settings.fontSize(), 46.5);
}

TEST_F(ZoomTest, ActualSizeResetsToFourteenAndWritesIt) {
    settings.setFontSize(30);
    activate("actual-size");
    EXPECT_EQ(settings.fontSize(), 14);
    EXPECT_EQ(stored(), 14);
}

class AppearanceTest : public AppFixture {
protected:
    void TearDown() override {
        SharedSettings::shared().setAppearance(core::Appearance::system);
        AppFixture::TearDown();
    }
    static AdwColorScheme scheme() {
        return adw_style_manager_get_color_scheme(adw_style_manager_get_default());
    }
    static bool becomes(AdwColorScheme wanted) {
        return runUntil([&] { return scheme() == wanted; }, std::chrono::seconds(5));
    }
};

TEST_F(AppearanceTest, TheSettingSwitchesTheStyleManagerLive) {
    window();
    auto& settings = SharedSettings::shared();
    settings.setAppearance(core::Appearance::dark);
    EXPECT_TRUE(becomes(ADW_COLOR_SCHEME_FORCE_DARK));
    EXPECT_TRUE(adw_style_manager_get_dark(adw_style_manager_get_default()));
    settings.setAppearance(core::Appearance::light);
    EXPECT_TRUE(becomes(ADW_COLOR_SCHEME_FORCE_LIGHT));
    settings.setAppearance(core::Appearance::system);
    EXPECT_TRUE(becomes(ADW_COLOR_SCHEME_DEFAULT));
}

TEST_F(AppearanceTest, AChangeWrittenByAnotherProcessArrives) {
    window();
    SharedSettings::shared().setAppearance(core::Appearance::light);
    ASSERT_TRUE(becomes(ADW_COLOR_SCHEME_FORCE_LIGHT));
    // Another viewer of the family writes the shared suite through its own store.
    int status = -1;
    Glib::spawn_sync(
        "", {QUESSEL_DEFAULTS_WRITER, std::string(core::viewerAppGroup), "sharedAppearance='dark'"},
        Glib::SpawnFlags::DEFAULT, {}, nullptr, nullptr, &status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(becomes(ADW_COLOR_SCHEME_FORCE_DARK));
    EXPECT_EQ(SharedSettings::shared().appearance(), core::Appearance::dark);
}

} // namespace
} // namespace quessel::app
