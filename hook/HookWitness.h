#pragma once
// Decides, from raw keyboard input, whether the low-level keyboard hook is
// gone. Windows removes a hook without telling its owner when the hook misses
// the system's time-out too often; raw input still arrives for every key event
// that got past the hooks, so raw input for an event the hook was never called
// for shows it gone. Each raw event is matched to the hook's record of the
// events it saw (SeenKeyEvents); seen events that raw input never names (ones
// the hook swallowed) are passed over. Platform-free.
//
// Raw input may arrive before the hook is called for the same event (Wine
// queues it first, and nothing promises the order on Windows), so an event
// not in the record yet is only pending. It is judged a moment later: at the
// next raw event (the system calls the hooks for one event before it delivers
// the next), or when a short wait for it has passed. Only a hook that recorded
// nothing meanwhile is judged gone.

#include <cstdint>

#include "SeenKeyEvents.h"

class HookWitness {
public:
    // A hook was (re)installed at nowMs: raw input is matched from its events
    // on. Raw input for events from before (still queued, or pending) went
    // past the hook being replaced, and is passed over.
    void Restart(const SeenKeyEvents& seen, uint32_t nowMs);

    // One raw keyboard event, packed as SeenKeyEvents::Pack packs, that
    // happened at eventMs (its message time); nowMs the same millisecond
    // clock. True when the event pending before it was never seen by the hook
    // and a reinstall is due now.
    bool OnRawInput(const SeenKeyEvents& seen, uint32_t rawEvent, uint32_t eventMs, uint32_t nowMs);
    // The caller's wait ran out: a pending event that has waited
    // kPendingWaitMs is judged, true when the hook never saw it and a
    // reinstall is due; a younger one stays pending.
    bool OnWaitOver(const SeenKeyEvents& seen, uint32_t nowMs);
    // Whether an event waits for its verdict, and how much longer; the caller
    // runs the wait.
    bool IsPending() const { return m_pending; }
    uint32_t WaitLeftMs(uint32_t nowMs) const;

    // How long a pending event waits for the hook's record at the most.
    static constexpr uint32_t kPendingWaitMs = 500;
    // A reinstall that holds this long counts as a success.
    static constexpr uint32_t kHoldsMs = 10000;
    // Reinstalls that do not hold wait before the next, twice as long each time.
    static constexpr uint32_t kFirstBackoffMs = 1000;
    static constexpr uint32_t kMaxBackoffMs = 5 * 60 * 1000;

    uint32_t BackoffMs() const { return m_backoffMs; }

private:
    // Matches the event to the record from m_next on; false when it is not there.
    bool Match(const SeenKeyEvents& seen, uint32_t event);
    // The pending event, if any, matched once more; true when a reinstall is due.
    bool JudgePending(const SeenKeyEvents& seen, uint32_t nowMs);
    // The hook missed an event: true when a reinstall is due now, false while
    // reinstalls that did not hold are backing off.
    bool OnLoss(uint32_t nowMs);

    uint32_t m_next = 0;  // the first seen event not yet matched to raw input
    uint32_t m_restartMs = 0;
    bool m_pending = false;
    uint32_t m_pendingEvent = 0;
    uint32_t m_pendingSinceMs = 0;
    uint32_t m_countWhenPending = 0;  // the record's count when the event arrived
    bool m_reinstalled = false;
    bool m_judged = false;  // whether the last reinstall held is known
    uint32_t m_lastReinstallMs = 0;
    uint32_t m_backoffMs = 0;
};
