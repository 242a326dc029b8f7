// The zoom commands: one step within 8 to 48 points, bounded from one side only, one write each.
#include "SharedSettingsTesting.hpp"
#include "TestEnvironment.hpp"
#include "viewer_core/ZoomCommands.hpp"

namespace quessel::core {
namespace {

TEST(ZoomArithmetic, StepsAndBounds) {
    EXPECT_EQ(zoomedIn(14), 15);
    EXPECT_EQ(zoomedOut(14), 13);
    EXPECT_EQ(zoomedIn(48), 48);
    EXPECT_EQ(zoomedOut(8), 8);
    EXPECT_EQ(zoomedIn(47.5), 48);
    EXPECT_EQ(zoomedOut(47.5), 46.5);
}

TEST(ZoomArithmetic, SizesOutsideTheRangeJumpOnlyTowardsTheNearBound) {
    EXPECT_EQ(zoomedIn(100), 48);
    EXPECT_EQ(zoomedOut(100), 99);
    EXPECT_EQ(zoomedOut(5), 8);
    EXPECT_EQ(zoomedIn(5), 6);
}

class ZoomCommandsTest : public testing::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        settings = SharedSettingsTesting::make();
        settings->signalWillChange().connect([this] { ++assignments; });
    }
    void TearDown() override {
        settings.reset();
        CoreTest::TearDown();
    }

    std::unique_ptr<SharedSettings> settings;
    int assignments = 0;
};

TEST_F(ZoomCommandsTest, EachCommandAssignsOnceAndWritesTheStore) {
    const ZoomCommands zoom(*settings);
    zoom.zoomIn();
    EXPECT_EQ(settings->fontSize(), 15);
    EXPECT_EQ(settings->defaults().doubleValue(SharedSettings::fontSizeKey), 15);
    zoom.zoomOut();
    zoom.zoomOut();
    EXPECT_EQ(settings->fontSize(), 13);
    EXPECT_EQ(assignments, 3);
}

TEST_F(ZoomCommandsTest, AtABoundTheSameSizeIsAssignedAgain) {
    settings->setFontSize(48);
    assignments = 0;
    ZoomCommands(*settings).zoomIn();
    EXPECT_EQ(settings->fontSize(), 48);
    EXPECT_EQ(assignments, 1);
}

TEST_F(ZoomCommandsTest, ActualSizeIsExactlyFourteenAndStored) {
    settings->setFontSize(47.5);
    ZoomCommands(*settings).actualSize();
    EXPECT_EQ(settings->fontSize(), 14);
    EXPECT_EQ(settings->defaults().object(SharedSettings::fontSizeKey)->get_type_string(), "d");
    EXPECT_EQ(settings->defaults().doubleValue(SharedSettings::fontSizeKey), 14);
}

} // namespace
} // namespace quessel::core
