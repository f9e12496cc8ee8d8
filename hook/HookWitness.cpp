#include "HookWitness.h"

#include <algorithm>

void HookWitness::Restart(const SeenKeyEvents& seen) { m_next = seen.Count(); }

bool HookWitness::OnRawInput(const SeenKeyEvents& seen, uint32_t rawEvent, uint32_t nowMs) {
    const uint32_t count = seen.Count();
    if (count - m_next > SeenKeyEvents::kCapacity) m_next = count - SeenKeyEvents::kCapacity;
    for (uint32_t i = m_next; i != count; ++i) {
        if (SeenKeyEvents::SameEvent(seen.At(i), rawEvent)) {
            m_next = i + 1;
            return false;
        }
    }

    // Raw input for an event the hook was never called for: the hook is gone.
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
