#include "QuietPeriod.h"

void QuietPeriod::OnChange(uint32_t nowMs) {
    m_waiting = true;
    m_lastChangeMs = nowMs;
    m_lockedTries = 0;
}

uint32_t QuietPeriod::WaitLeftMs(uint32_t nowMs) const {
    if (!m_waiting) return 0;
    const uint32_t quiet = nowMs - m_lastChangeMs;
    return quiet < kQuietMs ? kQuietMs - quiet : 0;
}

bool QuietPeriod::OnTimer(uint32_t nowMs) {
    if (!m_waiting || WaitLeftMs(nowMs) != 0) return false;
    m_waiting = false;
    return true;
}

bool QuietPeriod::OnLocked(uint32_t nowMs) {
    if (m_lockedTries >= kLockedRetries) {
        m_lockedTries = 0;
        return false;
    }
    const int tries = m_lockedTries + 1;
    OnChange(nowMs);
    m_lockedTries = tries;
    return true;
}
