// Canonical equivalence judged around the edit: the same answers as comparing the whole texts.
#include "viewer_core/TextEquivalence.hpp"
#include "yaml/CanonicalText.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace quessel::core {
namespace {

const std::string original = "caf\u00E9\nab\u00E9c\n\u00C5";

TEST(TextEquivalence, OtherFormsOfTheSameCharactersAreEqualWhereverTheyStand) {
    for (const char* same : {"cafe\u0301\nab\u00E9c\n\u00C5", "caf\u00E9\nabe\u0301c\n\u00C5",
                             "caf\u00E9\nab\u00E9c\nA\u030A", "caf\u00E9\nab\u00E9c\n\u212B"}) {
        EXPECT_TRUE(canonicallyEquivalent(original, same)) << same;
    }
    // Marks in another order, the texts sharing the first byte of the differing marks.
    EXPECT_TRUE(canonicallyEquivalent("x: e\u0301\u0323\n", "x: e\u0323\u0301\n"));
}

TEST(TextEquivalence, ACombiningMarkBesideTheEditStillCounts) {
    for (const char* different :
         {"cafe\nab\u00E9c\n\u00C5", "caf\u00E9\nab\u00C9c\n\u00C5", "caf\u00E9\nab\u00E9c\nA",
          "caf\u00E9\nab\u00E9c\n\u00C5\u0301", "\u0301caf\u00E9\nab\u00E9c\n\u00C5",
          "caf\u00E9\nab\u00E9c\n", ""}) {
        EXPECT_FALSE(canonicallyEquivalent(original, different)) << different;
        EXPECT_FALSE(canonicallyEquivalent(different, original)) << different;
    }
}

// Random texts of composed and decomposed pieces (accents, ring, dot below and above, Hangul
// syllables and jamo), each edited at one place or with two neighbours swapped.
TEST(TextEquivalence, AgreesWithComparingWholeTexts) {
    const std::vector<std::string> pieces{
        "a", "e",      "\u0301", "\u00E9", "\n",     "\u00C5", "A",      "\u030A", "\u212B",
        "d", "\u0323", "\u0307", "\u1E0D", "\u1E0B", "\uAC00", "\u1100", "\u1161", "\u11A8"};
    std::mt19937 random(20240607);
    const auto piece = [&] { return pieces[random() % pieces.size()]; };
    const auto join = [](const std::vector<std::string>& parts) {
        std::string text;
        for (const auto& part : parts) {
            text += part;
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::string> before(random() % 10);
        std::generate(before.begin(), before.end(), piece);
        std::vector<std::string> after = before;
        const std::size_t at = after.empty() ? 0 : random() % after.size();
        if (random() % 4 == 0 && after.size() > 1) {
            std::swap(after[at], after[at == 0 ? 1 : at - 1]);
        } else if (random() % 3 == 0 && !after.empty()) {
            after.erase(after.begin() + static_cast<std::ptrdiff_t>(at));
        } else if (random() % 2 == 0 && !after.empty()) {
            after[at] = piece();
        } else {
            after.insert(after.begin() + static_cast<std::ptrdiff_t>(at), piece());
        }
        const std::string a = join(before);
        const std::string b = join(after);
        ASSERT_EQ(canonicallyEquivalent(a, b), yaml::canonicallyEqual(a, b)) << a << " / " << b;
    }
}

} // namespace
} // namespace quessel::core
