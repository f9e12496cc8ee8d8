#include <gtest/gtest.h>

#include "ForegroundLookout.h"
#include "SidedKey.h"

namespace {

constexpr uint32_t kRightAlt = 0xA5, kApostrophe = 0xC0, kA = 'A', kB = 'B';

// AltGr activates; the ' key arms an accent. Entry 0 of the modifiers is the
// table's placeholder.
ForegroundLookout WelshLookout() {
    ForegroundLookout lookout;
    lookout.SetChordKeys({kRightAlt}, {int16_t(kB), int16_t(kApostrophe)});
    return lookout;
}

TEST(ForegroundLookoutTest, ChordKeysAndTheFirstKeyAfterAPauseAreLookedAtOtherTypingIsNot) {
    ForegroundLookout lookout = WelshLookout();
    uint32_t now = 0xFFFFFF00u;  // the clock wraps while typing
    EXPECT_TRUE(lookout.OnKeyDown(kA, now));  // the first key ever
    // Fast typing: only the keys that begin a chord or arm an accent.
    EXPECT_FALSE(lookout.OnKeyDown(kA, now += 120));
    EXPECT_TRUE(lookout.OnKeyDown(kRightAlt, now += 120));
    EXPECT_TRUE(lookout.OnKeyDown(kApostrophe, now += 120));
    EXPECT_FALSE(lookout.OnKeyDown(kB, now += 120));  // the placeholder is no key
    EXPECT_FALSE(lookout.OnKeyDown(kA, now += ForegroundLookout::kPauseMs - 1));
    // A pause: the user may have clicked another window.
    EXPECT_TRUE(lookout.OnKeyDown(kA, now += ForegroundLookout::kPauseMs));
    EXPECT_FALSE(lookout.OnKeyDown(kA, now += 30));  // auto-repeat
}

TEST(ForegroundLookoutTest, ANewLayoutsKeysReplaceTheOldAndNonKeysAreIgnored) {
    ForegroundLookout lookout = WelshLookout();
    lookout.SetChordKeys({int16_t(kA), -1, 0, 255, 300}, {});
    uint32_t now = 1000;
    lookout.OnKeyDown(kB, now);
    EXPECT_TRUE(lookout.OnKeyDown(kA, now += 10));
    EXPECT_FALSE(lookout.OnKeyDown(kRightAlt, now += 10));
    EXPECT_FALSE(lookout.OnKeyDown(255, now += 10));
    EXPECT_FALSE(lookout.OnKeyDown(0xFFFF, now += 10));
}

// Raw input names AltGr as Alt with the E0 flag: it must still count as the
// layout's AltGr.
TEST(ForegroundLookoutTest, RawInputsGenericModifierKeysAreToldLeftFromRight) {
    constexpr uint32_t kAlt = 0x12, kCtrl = 0x11, kShift = 0x10;
    static_assert(SidedKey(kAlt, 0x38, true) == kRightAlt && SidedKey(kAlt, 0x38, false) == 0xA4, "Alt");
    static_assert(SidedKey(kCtrl, 0x1D, true) == 0xA3 && SidedKey(kCtrl, 0x1D, false) == 0xA2, "Ctrl");
    static_assert(SidedKey(kShift, 0x36, false) == 0xA1 && SidedKey(kShift, 0x2A, false) == 0xA0, "Shift");
    ForegroundLookout lookout = WelshLookout();
    lookout.OnKeyDown(kA, 1000);
    EXPECT_TRUE(lookout.OnKeyDown(SidedKey(kAlt, 0x38, true), 1010));
    EXPECT_FALSE(lookout.OnKeyDown(SidedKey(kAlt, 0x38, false), 1020));  // the left Alt begins no chord
}

}  // namespace
