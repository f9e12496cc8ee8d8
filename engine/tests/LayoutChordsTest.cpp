#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <vector>

#include "FakeKeyboard.h"
#include "KeyTranslation.h"
#include "LayoutChords.h"
#include "LayoutFile.h"

namespace {

constexpr int kRightAlt = 165, kQuote = 222, kBacktick = 192, kTwo = 50, kA = 65, kE = 69, kW = 87;

// What the engine types when a user presses `key` with the activation keys
// held, after pressing and releasing `modifier` first (0: none). Empty when
// nothing is typed, or when the modifier armed nothing.
std::optional<char32_t> Typed(const LayoutTables& t, int modifier, int key, bool shift) {
    EngineState() = KeyEngineState{};
    FakeKeyboard keyboard;
    keyboard.held.insert(t.ActivationKeys.begin(), t.ActivationKeys.end());
    keyboard.shift = shift;
    if (modifier != 0) {
        keyboard.held.insert(modifier);
        const KeyDecision armed = ProcessKeyEvent(KeyEventKind::KeyDown, static_cast<uint32_t>(modifier), keyboard);
        if (armed.character || EngineState().PendingModifier == 0) return std::nullopt;
        keyboard.held.erase(modifier);
        ProcessKeyEvent(KeyEventKind::KeyUp, static_cast<uint32_t>(modifier), keyboard);
    }
    keyboard.held.insert(key);
    return ProcessKeyEvent(KeyEventKind::KeyDown, static_cast<uint32_t>(key), keyboard).character;
}

// The description lists exactly what the engine types: each chord types its
// values, and no key or modifier-then-key the engine types is missing.
void ExpectDescriptionIsWhatTheEngineTypes(const LayoutTables& t) {
    ActivateLayout(t.KeyCodes, t.ModifierIndexes, t.LowerChars, t.UpperChars, t.ActivationKeys, t.ModifierKeys);
    const LayoutChords described = DescribeChords(t);
    std::set<std::pair<int, int>> listed;
    for (const LayoutChord& c : described.chords) {
        EXPECT_TRUE(listed.insert({c.modifierKey, c.key}).second) << c.modifierKey << " then " << c.key << " twice";
        EXPECT_EQ(Typed(t, c.modifierKey, c.key, false), CharacterToType(c.lower)) << c.modifierKey << " " << c.key;
        EXPECT_EQ(Typed(t, c.modifierKey, c.key, true), CharacterToType(c.upper)) << c.modifierKey << " " << c.key;
    }
    std::set<int> modifiers = {0};
    for (std::size_t i = 1; i < t.ModifierKeys.size(); ++i)
        if (IsKeyCode(t.ModifierKeys[i])) modifiers.insert(t.ModifierKeys[i]);  // a keyboard sends no other
    for (const int modifier : modifiers) {
        for (int key = kFirstKeyCode; key <= kLastKeyCode; ++key) {
            if (Typed(t, modifier, key, false) && listed.count({modifier, key}) == 0)
                ADD_FAILURE() << "the engine types " << modifier << " then " << key << ", which is not listed";
        }
    }
    EngineState() = KeyEngineState{};
}

TEST(LayoutChordsTest, AWelshLayoutIsDescribedInItsOwnOrderAsTheEngineTypesIt) {
    // AltGr with a vowel; ' (twice listed) and ` arm acute and grave; 2 arms the diaeresis.
    const LayoutTables t{{kRightAlt},     {0, kQuote, kBacktick, kQuote, kTwo}, {kW, kA, kA, kE, kA},
                         {0, 0, 1, 2, 3}, {0x175, 0xE2, 0xE1, 0xE8, 0xE4},      {0x174, 0xC2, 0xC1, 0xC8, 0xC4}};
    const LayoutChords described = DescribeChords(t);
    EXPECT_EQ(described.activationKeys, std::vector<int>{kRightAlt});
    ASSERT_EQ(described.chords.size(), 4u);
    EXPECT_EQ(described.chords[0].key, kW);
    EXPECT_EQ(described.chords[2].modifierKey, kBacktick);
    EXPECT_EQ(described.chords[3].modifierKey, kQuote);  // its last entry in the list wins
    EXPECT_EQ(described.rowsNeverTyped, 1u);             // index 1: no key arms it any more
    ExpectDescriptionIsWhatTheEngineTypes(t);
}

TEST(LayoutChordsTest, OverriddenRowsContestedKeysAndNonKeysAreDescribedAsTheEngineTypesThem) {
    // A later row for the same key wins; a key with a chord row arms nothing;
    // pass-through keys and values that are no key are never typed.
    const LayoutTables t{
        {kRightAlt, 0xA2},           {0, kQuote, kA, 0xA0, 300},        {kA, kE, kA, kE, 0xA1, 0, -5, kW, kE},
        {0, 0, 0, 1, 0, 0, 0, 2, 4}, {1, 2, 3, 4, 5, 6, 7, 8, 0x1F600}, {11, 12, 13, 14, 15, 16, 17, 18, 0x1F601}};
    const LayoutChords described = DescribeChords(t);
    EXPECT_EQ(described.chords.size(), 3u);  // E, the later A, ' then E
    EXPECT_EQ(described.rowsNeverTyped, 6u);
    ExpectDescriptionIsWhatTheEngineTypes(t);
}

}  // namespace
