// The appearance choice: its stored texts, exact parsing and the colour scheme each one asks for.
#include "viewer_core/Appearance.hpp"

#include <gtest/gtest.h>

#include <unordered_set>

namespace quessel::core {
namespace {

TEST(Appearance, RawValuesRoundTripInDeclarationOrder) {
    ASSERT_EQ(allAppearances.size(), 3u);
    EXPECT_EQ(allAppearances[0], Appearance::system);
    EXPECT_EQ(allAppearances[1], Appearance::light);
    EXPECT_EQ(allAppearances[2], Appearance::dark);
    EXPECT_EQ(rawValue(Appearance::system), "system");
    EXPECT_EQ(rawValue(Appearance::light), "light");
    EXPECT_EQ(rawValue(Appearance::dark), "dark");
    for (const Appearance appearance : allAppearances) {
        EXPECT_EQ(appearanceFromRawValue(rawValue(appearance)), appearance);
    }
}

TEST(Appearance, ParsingIsExactAndCaseSensitive) {
    for (const char* text : {"Dark", "LIGHT", " dark", "dark ", "", "auto", "System"}) {
        EXPECT_EQ(appearanceFromRawValue(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(Appearance, SystemAsksForNoColourScheme) {
    EXPECT_EQ(colorScheme(Appearance::system), std::nullopt);
    EXPECT_EQ(colorScheme(Appearance::light), ColorScheme::light);
    EXPECT_EQ(colorScheme(Appearance::dark), ColorScheme::dark);
}

TEST(Appearance, IsHashable) {
    const std::unordered_set<Appearance> set(allAppearances.begin(), allAppearances.end());
    EXPECT_EQ(set.size(), 3u);
}

} // namespace
} // namespace quessel::core
