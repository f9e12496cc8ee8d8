#pragma once
// When a file that an editor is saving may be taken: once no change has been
// seen for a quiet while, so that a save made of a truncation and several
// writes, or a temporary file renamed over the old one, is read once, whole.
// A file that is still locked when it is quiet is tried again a few times
// before it counts as unreadable. Platform-free; the caller runs one timer.

#include <cstdint>

class QuietPeriod {
public:
    static constexpr uint32_t kQuietMs = 300;
    // How often a locked file is tried again, kQuietMs apart.
    static constexpr int kLockedRetries = 10;

    // A change was seen at nowMs.
    void OnChange(uint32_t nowMs);
    bool IsWaiting() const { return m_waiting; }
    // How long from nowMs until the files may be taken (0: now).
    uint32_t WaitLeftMs(uint32_t nowMs) const;
    // The caller's timer ran out: true when the files are to be taken now.
    bool OnTimer(uint32_t nowMs);
    // The file to be taken was locked: true when it is to be tried again
    // after another quiet while, false when it now counts as unreadable.
    bool OnLocked(uint32_t nowMs);

private:
    bool m_waiting = false;
    uint32_t m_lastChangeMs = 0;
    int m_lockedTries = 0;
};
