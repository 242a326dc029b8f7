// The shared settings: defaults, wrong-kind values, write-back, debounced reloads, the fallback.
#include "SharedSettingsTesting.hpp"
#include "TestEnvironment.hpp"
#include "viewer_core/DefaultsValue.hpp"
#include "viewer_core/SharedSettings.hpp"

#include <gmock/gmock.h>

namespace quessel::core {
namespace {

using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class SharedSettingsTest : public testing::CoreTest {
protected:
    void TearDown() override {
        settings.reset();
        CoreTest::TearDown();
    }
    std::shared_ptr<UserDefaults> suite() const { return UserDefaults::suite(viewerAppGroup); }
    std::string suiteFile() const { return configHome() + "/org.quessel.viewers/defaults.ini"; }

    // Builds the settings and counts the assignments observers hear of.
    SharedSettings& make() {
        settings = SharedSettingsTesting::make();
        settings->signalWillChange().connect([this] {
            ++assignments;
            lastAssignment = Clock::now();
        });
        return *settings;
    }

    std::unique_ptr<SharedSettings> settings;
    int assignments = 0;
    Clock::time_point lastAssignment;
};

TEST_F(SharedSettingsTest, EmptyStoreGivesTheDefaultsAndWritesNothing) {
    ::testing::internal::CaptureStdout();
    const SharedSettings& made = make();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(made.appearance(), Appearance::system);
    EXPECT_EQ(made.fontSize(), 14);
    EXPECT_EQ(made.fontFamily(), "SF Mono");
    EXPECT_TRUE(made.showLineNumbers());
    EXPECT_TRUE(made.wordWrap());
    EXPECT_FALSE(testing::exists(suiteFile()));
    EXPECT_EQ(made.defaults().path(), suiteFile());
}

TEST_F(SharedSettingsTest, ConstantsAndKeys) {
    EXPECT_EQ(SharedSettings::defaultFontSize, 14);
    EXPECT_EQ(SharedSettings::minimumFontSize, 8);
    EXPECT_EQ(SharedSettings::maximumFontSize, 48);
    EXPECT_EQ(SharedSettings::fontSizeStep, 1);
    EXPECT_EQ(viewerAppGroup, "org.quessel.viewers");
    EXPECT_EQ(SharedSettings::appearanceKey, "sharedAppearance");
    EXPECT_EQ(SharedSettings::fontSizeKey, "sharedFontSize");
    EXPECT_EQ(SharedSettings::fontFamilyKey, "sharedFontFamily");
    EXPECT_EQ(SharedSettings::showLineNumbersKey, "sharedShowLineNumbers");
    EXPECT_EQ(SharedSettings::wordWrapKey, "sharedWordWrap");
}

TEST_F(SharedSettingsTest, StoredValuesAreReadAtConstruction) {
    suite()->setString("sharedAppearance", "dark");
    suite()->setDouble("sharedFontSize", 100);
    suite()->setString("sharedFontFamily", "Fira Code");
    suite()->setBool("sharedShowLineNumbers", false);
    suite()->setBool("sharedWordWrap", false);
    const SharedSettings& made = make();
    EXPECT_EQ(made.appearance(), Appearance::dark);
    EXPECT_EQ(made.fontSize(), 100);
    EXPECT_EQ(made.fontFamily(), "Fira Code");
    EXPECT_FALSE(made.showLineNumbers());
    EXPECT_FALSE(made.wordWrap());
}

TEST_F(SharedSettingsTest, WrongKindValuesFallBackAsTheKeyTableSays) {
    suite()->setString("sharedAppearance", "Dark");
    suite()->set("sharedFontSize", parseValue("'large'"));
    suite()->setDouble("sharedFontFamily", 12);
    suite()->set("sharedShowLineNumbers", parseValue("'perhaps'"));
    suite()->set("sharedWordWrap", parseValue("[true]"));
    const SharedSettings& made = make();
    EXPECT_EQ(made.appearance(), Appearance::system);
    EXPECT_EQ(made.fontSize(), 14);
    EXPECT_EQ(made.fontFamily(), "SF Mono");
    // Present but not a boolean: false, not the default.
    EXPECT_FALSE(made.showLineNumbers());
    EXPECT_FALSE(made.wordWrap());
}

TEST_F(SharedSettingsTest, SizesThatAreNotPositiveAndFiniteGiveFourteen) {
    for (const double stored : {0.0, -3.0, double(INFINITY), double(NAN)}) {
        suite()->setDouble("sharedFontSize", stored);
        EXPECT_EQ(SharedSettingsTesting::make()->fontSize(), 14) << stored;
    }
    suite()->setDouble("sharedFontSize", 5);
    EXPECT_EQ(SharedSettingsTesting::make()->fontSize(), 5);
}

TEST_F(SharedSettingsTest, EveryAssignmentIsWrittenAtOnceEqualValuesIncluded) {
    SharedSettings& made = make();
    made.setFontSize(20);
    EXPECT_EQ(suite()->doubleValue("sharedFontSize"), 20);
    made.setAppearance(Appearance::light);
    EXPECT_EQ(suite()->string("sharedAppearance"), "light");
    made.setFontFamily("Iosevka");
    made.setShowLineNumbers(false);
    made.setWordWrap(true);
    EXPECT_EQ(suite()->string("sharedFontFamily"), "Iosevka");
    EXPECT_EQ(suite()->object("sharedShowLineNumbers")->get_type_string(), "b");
    EXPECT_FALSE(suite()->boolValue("sharedShowLineNumbers"));
    EXPECT_TRUE(suite()->boolValue("sharedWordWrap"));
    made.setFontSize(20);
    EXPECT_EQ(assignments, 6);
    // Nothing is clamped.
    made.setFontSize(300);
    EXPECT_EQ(suite()->doubleValue("sharedFontSize"), 300);
}

TEST_F(SharedSettingsTest, ResetAssignsAndWritesEveryDefault) {
    SharedSettings& made = make();
    made.setAppearance(Appearance::dark);
    made.setFontSize(30);
    made.setFontFamily("Other");
    made.setShowLineNumbers(false);
    made.setWordWrap(false);
    assignments = 0;
    made.resetToDefaults();
    EXPECT_EQ(assignments, 5);
    EXPECT_EQ(made.appearance(), Appearance::system);
    EXPECT_EQ(suite()->string("sharedAppearance"), "system");
    EXPECT_EQ(suite()->doubleValue("sharedFontSize"), 14);
    EXPECT_EQ(suite()->string("sharedFontFamily"), "SF Mono");
    EXPECT_TRUE(suite()->boolValue("sharedShowLineNumbers"));
    EXPECT_TRUE(suite()->boolValue("sharedWordWrap"));
}

TEST_F(SharedSettingsTest, AnotherWriterInTheProcessIsFollowedAndAbsenceIgnored) {
    make();
    suite()->setDouble("sharedFontSize", 18);
    suite()->setString("sharedAppearance", "light");
    EXPECT_EQ(settings->fontSize(), 14);
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return settings->fontSize() == 18; }));
    EXPECT_EQ(settings->appearance(), Appearance::light);
    EXPECT_EQ(assignments, 2);

    suite()->remove("sharedFontSize");
    suite()->remove("sharedAppearance");
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return assignments == 3; }));
    testing::runMainLoopFor(milliseconds(300));
    EXPECT_EQ(settings->fontSize(), 18);
    EXPECT_EQ(settings->appearance(), Appearance::system);
    EXPECT_EQ(assignments, 3);
}

TEST_F(SharedSettingsTest, OwnWritesEndInAReloadThatChangesNothing) {
    SharedSettings& made = make();
    made.setFontSize(22);
    made.setWordWrap(false);
    assignments = 0;
    testing::runMainLoopFor(milliseconds(400));
    EXPECT_EQ(assignments, 0);
    EXPECT_EQ(made.fontSize(), 22);
}

// Writes 30 ms apart: each restarts the wait, so only the last value is ever assigned, at
// least 100 ms after the last write. A machine too busy to keep the gaps short cannot judge.
TEST_F(SharedSettingsTest, ABurstOfChangesGivesOneReload) {
    make();
    const auto store = suite();
    std::vector<Clock::time_point> writes;
    for (int size = 20; size <= 24; ++size) {
        store->setDouble("sharedFontSize", size);
        writes.push_back(Clock::now());
        if (size < 24) {
            testing::runMainLoopFor(milliseconds(30));
        }
    }
    for (std::size_t index = 1; index < writes.size(); ++index) {
        if (writes[index] - writes[index - 1] >= milliseconds(90)) {
            GTEST_SKIP() << "the machine stalled inside the burst";
        }
    }
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return settings->fontSize() == 24; }));
    testing::runMainLoopFor(milliseconds(300));
    EXPECT_EQ(assignments, 1);
    EXPECT_GE(lastAssignment - writes.back(), milliseconds(100));
}

TEST_F(SharedSettingsTest, ChangeByAnotherProcessArrives) {
    make();
    ASSERT_EQ(testing::runDefaultsWriter({std::string(viewerAppGroup), "sharedFontSize=19.0",
                                          "sharedAppearance='dark'", "sharedWordWrap=false"}),
              0);
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return settings->fontSize() == 19; }));
    EXPECT_EQ(settings->appearance(), Appearance::dark);
    EXPECT_FALSE(settings->wordWrap());
    testing::runMainLoopFor(milliseconds(300));
    EXPECT_EQ(assignments, 3);
}

// The other process's three writes are all on disk before this process looks: one reload.
TEST_F(SharedSettingsTest, BurstFromAnotherProcessGivesOneReload) {
    make();
    ASSERT_EQ(testing::runDefaultsWriter({std::string(viewerAppGroup), "sharedFontSize=30.0",
                                          "sharedFontSize=31.0", "sharedFontSize=32.0"}),
              0);
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return settings->fontSize() == 32; }));
    testing::runMainLoopFor(milliseconds(300));
    EXPECT_EQ(assignments, 1);
}

TEST_F(SharedSettingsTest, UnavailableSuiteFallsBackToTheStandardStoreWithOneWarning) {
    ASSERT_EQ(g_mkdir_with_parents(configHome().c_str(), 0700), 0);
    testing::writeFile(configHome() + "/org.quessel.viewers", "in the way");
    UserDefaults::standard()->setDouble("sharedFontSize", 16);
    ::testing::internal::CaptureStdout();
    SharedSettings& made = make();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Warning: App Group 'org.quessel.viewers' not available, using standard "
              "UserDefaults\n");
    EXPECT_EQ(made.fontSize(), 16);
    made.setFontSize(17);
    EXPECT_EQ(UserDefaults::standard()->doubleValue("sharedFontSize"), 17);
    EXPECT_EQ(made.defaults().path(), configHome() + "/quessel/defaults.ini");
}

TEST_F(SharedSettingsTest, SharedIsOneInstance) {
    EXPECT_EQ(&SharedSettings::shared(), &SharedSettings::shared());
}

} // namespace
} // namespace quessel::core
