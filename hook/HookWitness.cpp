#include "HookWitness.h"

#include <algorithm>

void HookWitness::Restart(const SeenKeyEvents& seen, uint32_t nowMs) {
    m_next = seen.Count();
    m_pending = false;
    m_restartMs = nowMs;
}

bool HookWitness::OnRawInput(const SeenKeyEvents& seen, uint32_t rawEvent, uint32_t eventMs, uint32_t nowMs) {
    // Matched to a later record of the same key, an event from before the
    // reinstall would put every event after it out of step.
    if (static_cast<int32_t>(eventMs - m_restartMs) < 0) return false;
    const bool due = JudgePending(seen, nowMs);
    if (!Match(seen, rawEvent)) {
        m_pending = true;
        m_pendingEvent = rawEvent;
        m_pendingSinceMs = nowMs;
        m_countWhenPending = seen.Count();
    }
    return due;
}

bool HookWitness::OnWaitOver(const SeenKeyEvents& seen, uint32_t nowMs) {
    return WaitLeftMs(nowMs) == 0 && JudgePending(seen, nowMs);
}

uint32_t HookWitness::WaitLeftMs(uint32_t nowMs) const {
    const uint32_t waited = nowMs - m_pendingSinceMs;
    return waited < kPendingWaitMs ? kPendingWaitMs - waited : 0;
}

bool HookWitness::Match(const SeenKeyEvents& seen, uint32_t event) {
    const uint32_t count = seen.Count();
    // Raw input that lags more than the record holds (the main thread was busy
    // while keys came fast) cannot be judged: a hook that recorded that much
    // was there.
    const bool overrun = count - m_next > SeenKeyEvents::kCapacity;
    if (overrun) m_next = count - SeenKeyEvents::kCapacity;
    for (uint32_t i = m_next; i != count; ++i) {
        if (SeenKeyEvents::SameEvent(seen.At(i), event)) {
            m_next = i + 1;
            return true;
        }
    }
    return overrun;
}

bool HookWitness::JudgePending(const SeenKeyEvents& seen, uint32_t nowMs) {
    if (!m_pending) return false;
    m_pending = false;
    if (Match(seen, m_pendingEvent)) return false;
    // A hook that is gone records nothing at all. One that went on recording
    // is there, whatever became of this event's record (raw input in another
    // order than the hook's calls is no loss).
    return seen.Count() == m_countWhenPending && OnLoss(nowMs);
}

bool HookWitness::OnLoss(uint32_t nowMs) {
    if (m_reinstalled) {
        const uint32_t sinceLast = nowMs - m_lastReinstallMs;
        // The first loss after a reinstall tells whether it held.
        if (!m_judged) {
            m_backoffMs =
                sinceLast < kHoldsMs ? std::min(std::max(2 * m_backoffMs, kFirstBackoffMs), kMaxBackoffMs) : 0;
            m_judged = true;
        }
        if (sinceLast < m_backoffMs) return false;
    }
    m_reinstalled = true;
    m_judged = false;
    m_lastReinstallMs = nowMs;
    return true;
}
