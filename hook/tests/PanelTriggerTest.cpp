#include <gtest/gtest.h>

#include "PanelTrigger.h"

namespace {

constexpr uint32_t kAltGr = 0xA5, kLeftCtrl = 0xA2, kShift = 0xA0, kQuote = 0xDE, kA = 'A';
using Panel = PanelTrigger::Panel;

struct Keyboard {
    PanelTrigger trigger;
    uint32_t now = 0xFFFFF000u;  // the clock wraps meanwhile
    int armed = 0;               // the accent the engine holds armed

    Keyboard() { trigger.SetActivationKeys({int16_t(kAltGr)}); }
    void Down(uint32_t vk) { trigger.OnKey(vk, true, armed, now); }
    void Up(uint32_t vk) { trigger.OnKey(vk, false, armed, now); }
    // Time passes; the caller's wait runs out as it was armed.
    Panel After(uint32_t ms) {
        now += ms;
        if (trigger.IsWaiting()) trigger.OnWaitOver(now);
        return trigger.Showing();
    }
};

TEST(PanelTriggerTest, TheActivationKeyHeldAloneShowsTheChordsUntilAnyKeyOrItsRelease) {
    Keyboard k;
    EXPECT_FALSE(k.trigger.IsWaiting());  // idle: no wait at all
    k.Down(kLeftCtrl);                    // Windows' AltGr: left Ctrl first
    k.Down(kAltGr);
    EXPECT_EQ(k.After(PanelTrigger::kHoldMs - 1), Panel::None);
    k.Down(kAltGr);  // the key's repeats count for nothing
    k.Down(kShift);  // nor does Shift, for the upper case
    EXPECT_EQ(k.After(1), Panel::Chords);
    k.Down(kA);  // a chord typed while it shows: it goes
    EXPECT_EQ(k.trigger.Showing(), Panel::None);
    EXPECT_EQ(k.After(2000), Panel::None);  // and does not come back while A is down
    k.Up(kA);
    k.Up(kAltGr);
    k.Down(kAltGr);
    EXPECT_EQ(k.After(900), Panel::Chords);
    k.Up(kAltGr);
    EXPECT_EQ(k.trigger.Showing(), Panel::None);
    // A quick chord never shows it; nor does AltGr pressed while a key is held.
    k.Down(kAltGr), k.Down(kA), k.Up(kA), k.Up(kAltGr);
    EXPECT_EQ(k.After(2000), Panel::None);
    k.Down(kA), k.Down(kAltGr);
    EXPECT_EQ(k.After(2000), Panel::None);
}

TEST(PanelTriggerTest, APauseAfterAnArmedAccentShowsItsChoicesAndOffShowsNothing) {
    Keyboard k;
    k.Down(kAltGr);
    k.Down(kQuote);
    k.armed = 1;
    k.Up(kQuote);
    EXPECT_EQ(k.After(PanelTrigger::kHoldMs), Panel::Accent);
    EXPECT_EQ(k.trigger.AccentShown(), 1);
    k.Down(kA);
    EXPECT_EQ(k.trigger.Showing(), Panel::None);
    k.Up(kA);
    k.armed = 0;
    k.Up(kAltGr);

    k.trigger.SetOn(false);
    k.Down(kAltGr);
    EXPECT_FALSE(k.trigger.IsWaiting());
    EXPECT_EQ(k.After(2000), Panel::None);
}

}  // namespace
