// The user-defaults store: typed values in a key file, safe concurrent writers, change notices.
#include "TestEnvironment.hpp"
#include "viewer_core/DefaultsValue.hpp"
#include "viewer_core/NotificationCenter.hpp"
#include "viewer_core/UserDefaults.hpp"

#include <gmock/gmock.h>

#include <cmath>

namespace quessel::core {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class UserDefaultsTest : public testing::CoreTest {
protected:
    std::string suiteFile() const { return configHome() + "/org.example.suite/defaults.ini"; }
    std::string standardFile() const { return configHome() + "/quessel/defaults.ini"; }

    // Counts change notifications from any store.
    int changes = 0;
    ObserverToken observer = NotificationCenter::defaultCenter().addObserver(
        UserDefaults::didChangeNotification, [this](const Notification&) { ++changes; });
};

Glib::VariantBase variant(const char* text) {
    return parseValue(text);
}

TEST_F(UserDefaultsTest, StoresLiveUnderTheConfigurationFolder) {
    EXPECT_EQ(UserDefaults::userConfigFolder(), configHome());
    EXPECT_EQ(UserDefaults::standard()->path(), standardFile());
    EXPECT_EQ(UserDefaults::suite("org.example.suite")->path(), suiteFile());
    // One object per file while it is in use.
    const auto held = UserDefaults::standard();
    EXPECT_EQ(UserDefaults::standard(), held);
}

TEST_F(UserDefaultsTest, RelativeConfigHomeIsIgnored) {
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(UserDefaults::userConfigFolder(), std::string(g_getenv("HOME")) + "/.config");
}

TEST_F(UserDefaultsTest, ValuesKeepTheirKindAcrossInstances) {
    {
        const auto store = UserDefaults::suite("org.example.suite");
        store->setString("text", "caf\u00E9 \"quoted\"\nsecond line");
        store->setDouble("size", 13.5);
        store->setBool("flag", false);
        store->set("list", variant("[b'one', b'two']"));
        store->set("big", variant("int64 9007199254740993"));
    }
    const auto store = UserDefaults::suite("org.example.suite");
    EXPECT_EQ(store->string("text"), "caf\u00E9 \"quoted\"\nsecond line");
    EXPECT_EQ(store->doubleValue("size"), 13.5);
    EXPECT_TRUE(store->contains("flag"));
    EXPECT_FALSE(store->boolValue("flag"));
    EXPECT_EQ(store->object("list")->get_type_string(), "aay");
    EXPECT_EQ(printValue(*store->object("big")), "int64 9007199254740993");
}

// Every value is one line of the file, whatever characters or bytes it holds.
TEST_F(UserDefaultsTest, AwkwardTextsAndBytesStayOnOneLineAndRoundTrip) {
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte) {
        allBytes.push_back(static_cast<char>(byte));
    }
    const std::string awkward = "line\nbreak\ttab\x01 = [x] # not a comment \\ '\"";
    {
        const auto store = UserDefaults::standard();
        store->setString("awkward", awkward);
        store->set("bytes", Glib::VariantBase(g_variant_new_fixed_array(
                                G_VARIANT_TYPE_BYTE, allBytes.data(), allBytes.size(), 1)));
    }
    const std::string file = testing::readFile(standardFile());
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3) << file;
    const auto store = UserDefaults::standard();
    EXPECT_EQ(store->string("awkward"), awkward);
    gsize length = 0;
    const auto value = store->object("bytes");
    ASSERT_TRUE(value);
    const auto* data = static_cast<const char*>(
        g_variant_get_fixed_array(const_cast<GVariant*>(value->gobj()), &length, 1));
    EXPECT_EQ(std::string(data, length), allBytes);
}

TEST_F(UserDefaultsTest, AbsentKeysReadAsNothingZeroAndFalse) {
    const auto store = UserDefaults::standard();
    EXPECT_FALSE(store->contains("missing"));
    EXPECT_EQ(store->object("missing"), std::nullopt);
    EXPECT_EQ(store->string("missing"), std::nullopt);
    EXPECT_EQ(store->doubleValue("missing"), 0);
    EXPECT_FALSE(store->boolValue("missing"));
}

TEST_F(UserDefaultsTest, ReadingsConvertLikeTheTypedGetters) {
    const auto store = UserDefaults::standard();
    store->set("int", variant("18"));
    store->set("numericText", variant("'12.5'"));
    store->set("yes", variant("'YES'"));
    store->set("word", variant("'maybe'"));
    store->set("list", variant("[1, 2]"));
    EXPECT_EQ(store->doubleValue("int"), 18);
    EXPECT_EQ(store->string("int"), std::nullopt);
    EXPECT_EQ(store->doubleValue("numericText"), 12.5);
    EXPECT_TRUE(store->boolValue("int"));
    EXPECT_TRUE(store->boolValue("yes"));
    EXPECT_FALSE(store->boolValue("word"));
    EXPECT_FALSE(store->boolValue("list"));
    EXPECT_EQ(store->doubleValue("list"), 0);
    EXPECT_EQ(store->doubleValue("word"), 0);
}

TEST_F(UserDefaultsTest, HandEditedFileIsReadWithPlainTextAsStrings) {
    ASSERT_EQ(g_mkdir_with_parents((configHome() + "/quessel").c_str(), 0700), 0);
    testing::writeFile(standardFile(), "# my settings\n[defaults]\nfamily=Fira Code\nsize=16\n"
                                       "wrap=false\nlook=dark\n");
    const auto store = UserDefaults::standard();
    EXPECT_EQ(store->string("family"), "Fira Code");
    EXPECT_EQ(store->doubleValue("size"), 16);
    EXPECT_TRUE(store->contains("wrap"));
    EXPECT_FALSE(store->boolValue("wrap"));
    EXPECT_EQ(store->string("look"), "dark");
    // A write keeps the user's comment and the other lines.
    store->setDouble("size", 17);
    EXPECT_THAT(testing::readFile(standardFile()), HasSubstr("# my settings"));
    EXPECT_EQ(store->string("family"), "Fira Code");
}

TEST_F(UserDefaultsTest, RemovingAndSettingNothingDeleteTheKey) {
    const auto store = UserDefaults::standard();
    store->setBool("a", true);
    store->setBool("b", true);
    store->remove("a");
    store->set("b", Glib::VariantBase());
    EXPECT_FALSE(store->contains("a"));
    EXPECT_FALSE(store->contains("b"));
    EXPECT_THAT(testing::readFile(standardFile()), ::testing::Not(HasSubstr("a=")));
}

TEST_F(UserDefaultsTest, UnusableKeysAreRefused) {
    const auto store = UserDefaults::standard();
    for (const char* key : {"", "a=b", "[group]", "#comment", " padded", "line\nbreak"}) {
        EXPECT_THROW(store->setBool(key, true), std::invalid_argument) << key;
    }
    EXPECT_FALSE(testing::exists(standardFile()));
}

TEST_F(UserDefaultsTest, DamagedFileIsKeptAsideBeforeTheFirstWrite) {
    ASSERT_EQ(g_mkdir_with_parents((configHome() + "/quessel").c_str(), 0700), 0);
    testing::writeFile(standardFile(), "this is not a key file\n");
    const auto store = UserDefaults::standard();
    EXPECT_FALSE(store->contains("anything"));
    ::testing::internal::CaptureStderr();
    store->setDouble("size", 12);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("could not be read"));
    EXPECT_EQ(testing::readFile(standardFile() + ".damaged"), "this is not a key file\n");
    EXPECT_EQ(store->doubleValue("size"), 12);
}

// A regular file where the suite's folder belongs: creating the folder fails for every user.
TEST_F(UserDefaultsTest, SuiteIsUnavailableWhenItsFolderCannotBeMade) {
    ASSERT_EQ(g_mkdir_with_parents(configHome().c_str(), 0700), 0);
    testing::writeFile(configHome() + "/org.example.blocked", "in the way");
    EXPECT_EQ(UserDefaults::suite("org.example.blocked"), nullptr);
    ASSERT_EQ(g_mkdir_with_parents((configHome() + "/org.example.odd/defaults.ini").c_str(), 0700),
              0);
    EXPECT_EQ(UserDefaults::suite("org.example.odd"), nullptr);
    for (const char* name : {"", ".", "..", "a/b"}) {
        EXPECT_EQ(UserDefaults::suite(name), nullptr) << name;
    }
}

TEST_F(UserDefaultsTest, UnwritableStandardStoreKeepsValuesForThisRun) {
    ASSERT_EQ(g_mkdir_with_parents(configHome().c_str(), 0700), 0);
    testing::writeFile(configHome() + "/quessel", "in the way");
    const auto store = UserDefaults::standard();
    ::testing::internal::CaptureStderr();
    store->setDouble("size", 20);
    store->setString("family", "Mono");
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(warnings, HasSubstr("Warning: could not save settings to"));
    EXPECT_EQ(store->doubleValue("size"), 20);
    EXPECT_EQ(store->string("family"), "Mono");
    EXPECT_EQ(changes, 2);
}

TEST_F(UserDefaultsTest, EveryWriteNotifiesOnceAndAtOnce) {
    const auto store = UserDefaults::suite("org.example.suite");
    store->setDouble("size", 15);
    EXPECT_EQ(changes, 1);
    store->setDouble("size", 15);
    EXPECT_EQ(changes, 2);
    // The folder monitor sees this process's renames; they must not be announced again.
    testing::runMainLoopFor(std::chrono::milliseconds(300));
    EXPECT_EQ(changes, 2);
}

TEST_F(UserDefaultsTest, ChangeByAnotherProcessIsNotifiedAndRead) {
    const auto store = UserDefaults::suite("org.example.suite");
    store->setDouble("size", 15);
    changes = 0;
    ASSERT_EQ(testing::runDefaultsWriter({"org.example.suite", "size=18.0", "family='Other'"}), 0);
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return changes > 0; }));
    EXPECT_EQ(store->doubleValue("size"), 18);
    EXPECT_EQ(store->string("family"), "Other");
    // Removal by the other process is a change too.
    changes = 0;
    ASSERT_EQ(testing::runDefaultsWriter({"org.example.suite", "-family"}), 0);
    ASSERT_TRUE(testing::runMainLoopUntil([&] { return changes > 0; }));
    EXPECT_FALSE(store->contains("family"));
}

// Each writer re-reads the file under the lock and changes only its own key.
TEST_F(UserDefaultsTest, ConcurrentWritersOfDifferentKeysLoseNothing) {
    const int first = testing::startDefaultsWriter({"org.example.suite", "--numbered", "a", "60"});
    const int second = testing::startDefaultsWriter({"org.example.suite", "--numbered", "b", "60"});
    const auto store = UserDefaults::suite("org.example.suite");
    for (int index = 0; index < 60; ++index) {
        store->setDouble("c" + std::to_string(index), index);
    }
    ASSERT_EQ(testing::finishDefaultsWriter(first), 0);
    ASSERT_EQ(testing::finishDefaultsWriter(second), 0);
    for (int index = 0; index < 60; ++index) {
        for (const char* prefix : {"a", "b", "c"}) {
            const std::string key = prefix + std::to_string(index);
            EXPECT_EQ(store->doubleValue(key), index) << key;
        }
    }
    EXPECT_THAT(testing::folderEntries(configHome() + "/org.example.suite"),
                ElementsAre("defaults.ini", "defaults.ini.lock"));
}

TEST_F(UserDefaultsTest, NonFiniteNumbersRoundTrip) {
    const auto store = UserDefaults::standard();
    store->setDouble("inf", INFINITY);
    store->setDouble("nan", NAN);
    EXPECT_EQ(store->doubleValue("inf"), INFINITY);
    EXPECT_TRUE(std::isnan(store->doubleValue("nan")));
}

} // namespace
} // namespace quessel::core
