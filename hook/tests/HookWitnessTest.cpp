#include <gtest/gtest.h>

#include <cstdint>

#include "HookWitness.h"
#include "SeenKeyEvents.h"

namespace {

constexpr uint32_t kA = 'A', kK = 'K', kRightAlt = 0xA5, kAlt = 0x12, kPacket = 0xE7, kScrollLock = 0x91;

// Key events as the hook records them and as raw input names them afterwards.
struct Keyboard {
    SeenKeyEvents seen;
    HookWitness witness;
    uint32_t now = 50000;
    int reinstalls = 0;

    Keyboard() { witness.Restart(seen, now); }

    // Raw input for one event; true when it made a reinstall due.
    bool Raw(uint32_t vk, uint32_t scan, bool up) {
        return Reinstalled(witness.OnRawInput(seen, SeenKeyEvents::Pack(vk, scan, up), now, now));
    }
    // The caller's wait ran out `waitedMs` later; true when that made a reinstall due.
    bool WaitOver(uint32_t waitedMs = HookWitness::kPendingWaitMs) {
        now += waitedMs;
        return Reinstalled(witness.OnWaitOver(seen, now));
    }
    // Raw input for one event, then quiet until its verdict.
    bool RawThenQuiet(uint32_t vk, uint32_t scan, bool up) {
        const bool due = Raw(vk, scan, up);
        return WaitOver() || due;
    }
    bool Reinstalled(bool due) {
        if (due) {
            ++reinstalls;
            witness.Restart(seen, now);
        }
        return due;
    }
    // A key stroke the hook let through (or never saw), then its raw input.
    bool Stroke(uint32_t vk, bool hookAlive) {
        if (hookAlive) seen.Record(vk, 0x1E, false);
        const bool downDue = Raw(vk, 0x1E, false);
        if (hookAlive) seen.Record(vk, 0x1E, true);
        return Raw(vk, 0x1E, true) || downDue;
    }
};

TEST(HookWitness, AWorkingHookIsNeverReinstalledWhateverTheStormOrTheLag) {
    Keyboard k;
    for (int i = 0; i < 50000; ++i) k.Stroke(kK, true);
    // Raw input lagging behind the hook by many events, and naming right Alt
    // as plain Alt, as raw input does.
    for (int i = 0; i < 20; ++i) k.seen.Record(i % 2 ? kRightAlt : kK, 0, false);
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(k.Raw(i % 2 ? kAlt : kK, 0, false));
    EXPECT_FALSE(k.WaitOver());
    // Lagging more than the record holds while the hook goes on recording.
    for (uint32_t i = 0; i < 3 * SeenKeyEvents::kCapacity; ++i) k.seen.Record(kA + i % 26, 0, i % 2);
    for (uint32_t i = 0; i < 3 * SeenKeyEvents::kCapacity; ++i) {
        k.seen.Record(kK, 0, false);
        EXPECT_FALSE(k.Raw(kA + i % 26, 0, i % 2));
    }
    // Raw input in another order than the hook's calls, while the hook records.
    for (int i = 0; i < 100; ++i) {
        k.seen.Record(kA, 0x1E, false);
        k.seen.Record(kK, 0x25, false);
        EXPECT_FALSE(k.Raw(kK, 0x25, false));
        EXPECT_FALSE(k.Raw(kA, 0x1E, false));
    }
    EXPECT_EQ(k.reinstalls, 0);
}

// Wine queues raw input before it calls the hook for the same event, and
// inserts a lock key's up and down just before a letter typed after the lock
// key changed: each raw event may come before its record, never after the next.
TEST(HookWitness, RawInputAheadOfTheHooksRecordIsNoVerdict) {
    Keyboard k;
    const auto early = [&k](uint32_t vk, uint32_t scan, bool up) {
        const bool due = k.Raw(vk, scan, up);
        k.seen.Record(vk == kAlt ? kRightAlt : vk, scan, up);
        return due;
    };
    // A wait that runs out early (it began for an earlier event) judges no young event.
    EXPECT_FALSE(k.Raw(kA, 0x1E, false));
    EXPECT_FALSE(k.WaitOver(1));
    EXPECT_TRUE(k.witness.IsPending());
    EXPECT_EQ(k.witness.WaitLeftMs(k.now), HookWitness::kPendingWaitMs - 1);
    k.seen.Record(kA, 0x1E, false);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_FALSE(early(kScrollLock, 0x46, true));
        EXPECT_FALSE(early(kScrollLock, 0x46, false));
        EXPECT_FALSE(early(kA, 0x1E, false));
        EXPECT_FALSE(early(kAlt, 0x38, false));
        EXPECT_FALSE(early(kA, 0x1E, true));
        if (i % 10 == 0) {
            EXPECT_FALSE(k.WaitOver());
        }
    }
    EXPECT_FALSE(k.WaitOver());
    EXPECT_EQ(k.reinstalls, 0);
}

TEST(HookWitness, EventsTheHookSwallowedAndRawInputNeverNamesArePassedOver) {
    Keyboard k;
    // A chord: the key swallowed, the packet's down and up let through.
    k.seen.Record(kA, 0x1E, false);
    k.seen.Record(kPacket, 0xE1, false);
    k.seen.Record(kPacket, 0xE1, true);
    k.seen.Record(kA, 0x1E, true);
    EXPECT_FALSE(k.Raw(kPacket, 0xE1, false));
    EXPECT_FALSE(k.Raw(kPacket, 0xE1, true));
    // With swallowed events left unmatched, a loss is still seen at once.
    EXPECT_TRUE(k.Stroke(kK, false));
}

TEST(HookWitness, TheFirstEventPastALostHookMakesAReinstallDueAndTheNextIsServed) {
    Keyboard k;
    for (int i = 0; i < 100; ++i) k.Stroke(kK, true);  // across the ring's wrap
    // Judged at the next raw event: the key-up of the stroke that showed the loss.
    EXPECT_FALSE(k.Raw(kA, 0x1E, false));
    EXPECT_TRUE(k.witness.IsPending());
    EXPECT_TRUE(k.Raw(kA, 0x1E, true));
    EXPECT_FALSE(k.witness.IsPending()) << "the key-up went past the hook that was replaced";
    EXPECT_FALSE(k.Stroke(kA, true));
    EXPECT_EQ(k.reinstalls, 1);
    // Raw input still queued from before the reinstall, for keys the new hook
    // then records again, puts nothing out of step.
    const uint32_t reinstalledAt = k.now;
    k.now += HookWitness::kHoldsMs;
    k.seen.Record(kK, 0x25, false);
    k.seen.Record(kK, 0x25, true);
    EXPECT_FALSE(k.witness.OnRawInput(k.seen, SeenKeyEvents::Pack(kK, 0x25, true), reinstalledAt - 1, k.now));
    EXPECT_FALSE(k.Raw(kK, 0x25, false));
    EXPECT_FALSE(k.Raw(kK, 0x25, true));
    EXPECT_FALSE(k.WaitOver());
    EXPECT_EQ(k.reinstalls, 1);
    // Judged when its wait is over; a key-up is not its key-down.
    k.now += HookWitness::kHoldsMs;
    k.seen.Record(kK, 0x25, false);
    EXPECT_FALSE(k.Raw(kK, 0x25, true));
    EXPECT_TRUE(k.WaitOver());
    EXPECT_FALSE(k.witness.IsPending());
    EXPECT_FALSE(k.WaitOver());
}

TEST(HookWitness, RepairsThatDoNotHoldBackOffAndThoseThatHoldResetIt) {
    Keyboard k;
    // Removed again at every key, for a minute: reinstalls thin out.
    for (int i = 0; i < 600; ++i) {
        k.Raw(kK, 0, false);
        k.now += 100;
    }
    EXPECT_GE(k.reinstalls, 5);
    EXPECT_LE(k.reinstalls, 8);  // at 0, 1, 3, 7, 15, 31 s: far from 600
    EXPECT_GT(k.witness.BackoffMs(), HookWitness::kFirstBackoffMs);

    for (int i = 0; i < 100; ++i) {
        k.now += HookWitness::kHoldsMs - 1;
        k.Raw(kK, 0, false);
        EXPECT_LE(k.witness.BackoffMs(), HookWitness::kMaxBackoffMs);
    }

    // A reinstall that held: the next loss is repaired at once, backoff gone.
    k.now += HookWitness::kMaxBackoffMs;
    ASSERT_TRUE(k.RawThenQuiet(kK, 0, false));
    for (int i = 0; i < 10; ++i) k.Stroke(kK, true);
    k.now += HookWitness::kHoldsMs;
    EXPECT_TRUE(k.RawThenQuiet(kK, 0, false));
    EXPECT_EQ(k.witness.BackoffMs(), 0u);
}

}  // namespace
