#include <gtest/gtest.h>

#include "FakeKeyboard.h"
#include "KeyTranslation.h"
#include "LayoutFile.h"

namespace {

constexpr uint32_t kRightAlt = 165, kQuote = 222, kA = 65, kE = 69, kB = 66;

class KeyTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        EngineState() = KeyEngineState{};
        // The worked example: right Alt activates, ' arms modifier 1.
        Activate({65, 69, 65, 69}, {0, 0, 1, 1}, {225, 233, 226, 234}, {193, 201, 194, 202}, {165}, {0, 222});
    }

    static void Activate(std::vector<int16_t> keyCodes, std::vector<uint8_t> indexes, std::vector<int32_t> lower,
                         std::vector<int32_t> upper, std::vector<int16_t> activation, std::vector<int16_t> modifiers) {
        ActivateLayout(keyCodes, indexes, lower, upper, activation, modifiers);
    }

    KeyDecision Down(uint32_t code) { return ProcessKeyEvent(KeyEventKind::KeyDown, code, keyboard); }
    KeyDecision Up(uint32_t code) { return ProcessKeyEvent(KeyEventKind::KeyUp, code, keyboard); }

    static void ExpectTypes(const KeyDecision& d, char32_t c) {
        EXPECT_TRUE(d.swallow);
        ASSERT_TRUE(d.character.has_value());
        EXPECT_EQ(static_cast<uint32_t>(*d.character), static_cast<uint32_t>(c));
    }
    static void ExpectSwallowedSilently(const KeyDecision& d) {
        EXPECT_TRUE(d.swallow);
        EXPECT_FALSE(d.character.has_value());
    }
    static void ExpectPasses(const KeyDecision& d) {
        EXPECT_FALSE(d.swallow);
        EXPECT_FALSE(d.character.has_value());
    }

    FakeKeyboard keyboard;
};

}  // namespace

TEST_F(KeyTranslation, WorkedSequence) {
    ExpectPasses(Down(kRightAlt));
    keyboard.held.insert(kRightAlt);
    ExpectTypes(Down(kA), u'\u00E1');
    ExpectSwallowedSilently(Up(kA));
    ExpectSwallowedSilently(Down(kQuote));
    EXPECT_EQ(EngineState().PendingModifier, 1);
    ExpectPasses(Up(kRightAlt));
    keyboard.held.erase(kRightAlt);
    ExpectSwallowedSilently(Up(kQuote));
    EXPECT_EQ(EngineState().PendingModifier, 1);  // a modifier's key-up keeps it armed
    ExpectTypes(Down(kE), u'\u00EA');             // admitted by the armed modifier alone
    EXPECT_EQ(EngineState().PendingModifier, 0);
    ExpectSwallowedSilently(Up(kE));  // the (69, 0) row swallows the key-up
}

TEST_F(KeyTranslation, KeyUpWithoutRowPassesAfterRemoval) {
    Activate({69}, {1}, {234}, {202}, {165}, {0, 222});
    keyboard.held.insert(kRightAlt);
    Down(kQuote);
    keyboard.held.clear();
    ExpectTypes(Down(kE), u'\u00EA');
    ExpectPasses(Up(kE));
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{222, 0, 0, 0, 0}));
}

TEST_F(KeyTranslation, AdmissionNeedsEveryActivationKeyOrAnArmedModifier) {
    ExpectPasses(Down(kA));  // activation key not held
    EXPECT_EQ(EngineState().HeldKeys[0], 0);
    ExpectPasses(Up(kA));  // never recorded: let through

    Activate({65}, {0}, {225}, {193}, {}, {0});
    ExpectTypes(Down(kA), u'\u00E1');  // an empty activation list admits everything

    Activate({65}, {0}, {225}, {193}, {0, 300}, {0});  // entries that are no key are never held
    keyboard.held = {0, 300};
    EngineState() = KeyEngineState{};
    FakeKeyboard realistic;  // a key state that knows only real key codes
    EXPECT_FALSE(ProcessKeyEvent(KeyEventKind::KeyDown, kA, realistic).swallow);
}

TEST_F(KeyTranslation, AdmissionStopsAtTheFirstKeyNotHeld) {
    Activate({65}, {0}, {225}, {193}, {162, 165, 164}, {0});
    keyboard.held = {165, 164};
    ExpectPasses(Down(kA));
    EXPECT_EQ(keyboard.heldQueries, 1);
}

TEST_F(KeyTranslation, PassThroughKeysAreNeverHandled) {
    keyboard.held.insert(kRightAlt);
    Down(kQuote);
    for (const uint32_t key : PassThroughKeys) {
        ExpectPasses(Down(key));
        ExpectPasses(Up(key));
    }
    EXPECT_EQ(EngineState().PendingModifier, 1);  // still armed
    // Right Ctrl and left Alt are ordinary keys: admitted, unmatched, they cancel the modifier.
    ExpectPasses(Down(0xA3));
    EXPECT_EQ(EngineState().PendingModifier, 0);
}

TEST_F(KeyTranslation, UnlistedKeyCancelsTheModifierAndPasses) {
    keyboard.held.insert(kRightAlt);
    Down(kQuote);
    keyboard.held.clear();
    ExpectPasses(Down(kB));
    EXPECT_EQ(EngineState().PendingModifier, 0);
    ExpectPasses(Up(kB));
}

TEST_F(KeyTranslation, CaseFollowsShiftExclusiveOrCapsLock) {
    keyboard.held.insert(kRightAlt);
    keyboard.shift = true;
    ExpectTypes(Down(kA), u'\u00C1');
    keyboard.capsLock = true;
    ExpectTypes(Down(kA), u'\u00E1');  // both: lower case
    keyboard.shift = false;
    ExpectTypes(Down(kA), u'\u00C1');
}

TEST_F(KeyTranslation, AutoRepeatTypesAgainAndRecordsOnce) {
    keyboard.held.insert(kRightAlt);
    for (int i = 0; i < 3; ++i) ExpectTypes(Down(kA), u'\u00E1');
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{65, 0, 0, 0, 0}));
    ExpectSwallowedSilently(Up(kA));
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{}));
}

TEST_F(KeyTranslation, HeldKeysHoldFiveAndDropTheOldest) {
    Activate({}, {}, {}, {}, {}, {0});
    for (uint32_t key = 1; key <= 6; ++key) Down(key);
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{6, 5, 4, 3, 2}));
    ExpectPasses(Up(1));  // dropped: its key-up is not considered
    Up(4);
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{6, 5, 3, 2, 0}));
}

TEST_F(KeyTranslation, KeyCodeZeroIsNeverRecorded) {
    // 0 marks an empty entry; recorded, it would hide the keys held behind it.
    Activate({65}, {0}, {225}, {193}, {}, {0});
    ExpectTypes(Down(kA), u'\u00E1');
    Down(0);
    Down(0x10000u);  // the same 16-bit value
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{65, 0, 0, 0, 0}));
    ExpectSwallowedSilently(Up(kA));  // the chord's key-up never reaches the application
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{}));
}

TEST_F(KeyTranslation, KeyRecordedTwiceIsForgottenAtOnce) {
    keyboard.held.insert(kRightAlt);
    Down(kA);
    Down(kE);
    Down(kA);
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{65, 69, 65, 0, 0}));
    Up(kA);
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{69, 0, 0, 0, 0}));
}

TEST_F(KeyTranslation, LaterRowsAndLaterModifierEntriesWin) {
    Activate({65, 65}, {0, 0}, {1, 2}, {3, 4}, {}, {0, 222, 222});
    ExpectTypes(Down(kA), u'\u0002');
    ExpectSwallowedSilently(Down(kQuote));
    EXPECT_EQ(EngineState().PendingModifier, 2);
}

TEST_F(KeyTranslation, RowBeatsModifierAndSecondModifierReArms) {
    Activate({222, 66}, {0, 2}, {39, 98}, {34, 66}, {}, {0, 222, 192});
    ExpectTypes(Down(kQuote), u'\'');  // a row with index 0 wins over arming
    EXPECT_EQ(EngineState().PendingModifier, 0);
    Down(192);
    EXPECT_EQ(EngineState().PendingModifier, 2);
    Activate({222, 66}, {0, 2}, {39, 98}, {34, 66}, {}, {0, 192, 223});
    Down(223);  // re-arms while armed
    EXPECT_EQ(EngineState().PendingModifier, 2);
}

TEST_F(KeyTranslation, CodePointsAboveU16AreCarriedWholeOtherValuesAsTheirLow16Bits) {
    Activate({65, 66, 67, 68, 69}, {0, 0, 0, 0, 0}, {0x1F600, 0x10000, 0x10FFFF, 0x110041, -0xFFBF},
             {0, 0, 0, 0, 0}, {}, {0});
    ExpectTypes(Down(65), U'\U0001F600');
    ExpectTypes(Down(66), U'\U00010000');
    ExpectTypes(Down(67), U'\U0010FFFF');
    ExpectTypes(Down(68), U'A');  // past Unicode: the low 16 bits, as ever
    ExpectTypes(Down(69), U'A');  // negative: likewise
    Activate({65}, {0}, {0x10000}, {0}, {}, {0});
    keyboard.shift = true;
    ExpectTypes(Down(kA), U'\0');  // zero is still typed
}

TEST_F(KeyTranslation, KeyUpReachesTheApplicationWhenAKeyDownOfItDid) {
    // A held before AltGr: its first key-down passed, the repeats under AltGr
    // were translated; the release must pass or the key stays down.
    ExpectPasses(Down(kA));
    keyboard.held.insert(kRightAlt);
    ExpectTypes(Down(kA), u'\u00E1');
    ExpectTypes(Down(kA), u'\u00E1');
    ExpectPasses(Up(kA));
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{}));

    // The other way round: AltGr released while A repeats plain.
    ExpectTypes(Down(kA), u'\u00E1');
    keyboard.held.clear();
    ExpectPasses(Down(kA));
    ExpectPasses(Up(kA));

    // The same through a modifier sequence, and the rule resets at each key-up.
    ExpectPasses(Down(kE));
    keyboard.held.insert(kRightAlt);
    Down(kQuote);
    ExpectTypes(Down(kE), u'\u00EA');
    ExpectPasses(Up(kE));
    ExpectTypes(Down(kE), u'\u00E9');
    ExpectSwallowedSilently(Up(kE));
}

TEST_F(KeyTranslation, RefusedKeyDownIsForgottenAndItsKeyUpPasses) {
    keyboard.held.insert(kRightAlt);
    ExpectTypes(Down(kE), u'\u00E9');
    ExpectTypes(Down(kA), u'\u00E1');
    ForgetRefusedKeyDown(kA);
    EXPECT_EQ(EngineState().HeldKeys, (std::array<int16_t, 5>{69, 0, 0, 0, 0}));
    ExpectPasses(Up(kA));
    ExpectSwallowedSilently(Up(kE));
}

TEST_F(KeyTranslation, PendingModifierIsSigned8Bit) {
    std::vector<int16_t> modifiers(260, 7);  // filler: key 7
    modifiers[0] = 0;
    modifiers[200] = 200;  // key 200 arms index 200
    modifiers[256] = 250;  // key 250 arms index 256
    Activate({65}, {200}, {225}, {193}, {165}, modifiers);

    keyboard.held.insert(kRightAlt);
    Down(200);
    EXPECT_EQ(EngineState().PendingModifier, static_cast<int8_t>(200));  // negative as signed
    keyboard.held.clear();
    ExpectPasses(Down(kA));  // not admitted: 200 is not > 0 as a signed 8-bit number
    keyboard.held.insert(kRightAlt);
    Down(200);
    ExpectTypes(Down(kA), u'\u00E1');  // with the activation key held it types

    ExpectSwallowedSilently(Down(250));  // index 256: arms its low 8 bits, nothing
    EXPECT_EQ(EngineState().PendingModifier, 0);
}

TEST_F(KeyTranslation, AnyCodeIsSafe) {
    Activate({-1}, {0}, {65}, {65}, {}, {0, -2});
    ExpectTypes(Down(0xFFFFFFFFu), u'A');  // -1 sign-extends to 0xFFFFFFFF
    ExpectSwallowedSilently(Down(0xFFFFFFFEu));
    ExpectPasses(Down(0));
    ExpectPasses(Down(255));
    ExpectPasses(Down(0xFFFFu));  // 0xFFFF is not -1 after sign extension
}

TEST_F(KeyTranslation, MismatchedTableLengthsNeverReadPastATable) {
    Activate({65, 66, 67}, {0}, {225, 1}, {193}, {}, {0});
    ExpectTypes(Down(kA), u'\u00E1');
    ExpectPasses(Down(67));
}
