#pragma once
// When the panel of characters shows, from the key events the main thread
// sees through raw input: after the activation keys have been held alone for
// a moment (kHoldMs), the layout's chords; after an accent was armed and no
// key followed for a moment, that accent's choices. Any key pressed, or an
// activation key released, takes it away. Key repeats, Shift, Caps Lock and
// the left Ctrl that Windows sends with AltGr neither start nor cancel
// anything. Nothing shows while it is off (translation off, an excluded
// program, or the user's choice). The caller runs one wait, and only while
// something is due. Platform-free.

#include <bitset>
#include <cstdint>
#include <vector>

class PanelTrigger {
public:
    enum class Panel { None, Chords, Accent };

    static constexpr uint32_t kHoldMs = 800;

    // The layout's activation keys (all held together make a chord).
    void SetActivationKeys(const std::vector<int16_t>& keys);
    // Off hides the panel and forgets what was held.
    void SetOn(bool on);

    // A key event of virtual key `vk` (left and right keys told apart) at
    // nowMs. `armedAccent` is the modifier the engine holds armed after it
    // (0: none), as the hook publishes it.
    void OnKey(uint32_t vk, bool down, int armedAccent, uint32_t nowMs);
    // The caller's wait ran out.
    void OnWaitOver(uint32_t nowMs);

    Panel Showing() const { return m_showing; }
    int AccentShown() const { return m_showing == Panel::Accent ? m_accent : 0; }
    // Whether a wait is due, and how long it has left.
    bool IsWaiting() const { return m_due != Panel::None; }
    uint32_t WaitLeftMs(uint32_t nowMs) const;

private:
    static bool IsIgnored(uint32_t vk);
    bool AllActivationKeysHeld() const;
    void Hide();

    std::bitset<256> m_activation, m_held;
    bool m_on = true;
    Panel m_showing = Panel::None;
    Panel m_due = Panel::None;  // what shows when the wait is over
    uint32_t m_sinceMs = 0;
    int m_accent = 0;
};
