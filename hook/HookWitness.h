#pragma once
// Decides, from raw keyboard input, whether the low-level keyboard hook is
// gone. Windows removes a hook without telling its owner when the hook misses
// the system's time-out too often; raw input still arrives for every key event
// that got past the hooks, so raw input for an event the hook was never called
// for shows it gone. Each raw event is matched to the hook's record of the
// events it saw (SeenKeyEvents); seen events that raw input never names (ones
// the hook swallowed) are passed over. Platform-free.

#include <cstdint>

#include "SeenKeyEvents.h"

class HookWitness {
public:
    // A hook was (re)installed: raw input is matched from its events on.
    void Restart(const SeenKeyEvents& seen);

    // One raw keyboard event, packed as SeenKeyEvents::Pack packs; nowMs a
    // millisecond clock. True when the hook never saw it and a reinstall is
    // due now.
    bool OnRawInput(const SeenKeyEvents& seen, uint32_t rawEvent, uint32_t nowMs);

    // A reinstall that holds this long counts as a success.
    static constexpr uint32_t kHoldsMs = 10000;
    // Reinstalls that do not hold wait before the next, twice as long each time.
    static constexpr uint32_t kFirstBackoffMs = 1000;
    static constexpr uint32_t kMaxBackoffMs = 5 * 60 * 1000;

    uint32_t BackoffMs() const { return m_backoffMs; }

private:
    uint32_t m_next = 0;  // the first seen event not yet matched to raw input
    bool m_reinstalled = false;
    bool m_judged = false;  // whether the last reinstall held is known
    uint32_t m_lastReinstallMs = 0;
    uint32_t m_backoffMs = 0;
};
