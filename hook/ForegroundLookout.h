#pragma once
// Which key-downs are worth a look at the foreground window. Under Wine each
// look is a round trip to the wineserver, which carries the keys themselves,
// so the main thread does not look at every key: only at the keys that can
// begin a chord (the layout's activation and modifier keys), which is where a
// verdict matters, and at the first key after a pause in typing, which is
// when the user may have switched windows with the mouse. Platform-free.

#include <bitset>
#include <cstdint>
#include <vector>

class ForegroundLookout {
public:
    // The layout's activation keys and modifier keys (entry 0 of the modifier
    // table is a placeholder, not a key). Values that are no key code are
    // passed over.
    void SetChordKeys(const std::vector<int16_t>& activationKeys, const std::vector<int16_t>& modifierKeys);

    // A key-down of virtual key `vk` that happened at `eventMs` (a millisecond
    // clock that wraps): true when the foreground window is worth a look.
    bool OnKeyDown(uint32_t vk, uint32_t eventMs);

    // Typing slower than this is a pause.
    static constexpr uint32_t kPauseMs = 500;

private:
    std::bitset<256> m_chordKeys;
    bool m_anyKeySeen = false;
    uint32_t m_lastKeyDownMs = 0;
};
