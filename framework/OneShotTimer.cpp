#include "OneShotTimer.h"

#include "Wnd.h"

bool COneShotTimer::Arm(UINT delayMs) {
    if (!m_bArmed && m_owner.m_hWnd != nullptr)
        m_bArmed = ::SetTimer(m_owner.m_hWnd, m_nIDEvent, delayMs, nullptr) != 0;
    return m_bArmed;
}

bool COneShotTimer::Fired(UINT_PTR nIDEvent) {
    if (nIDEvent != m_nIDEvent || !m_bArmed) return false;
    Disarm();
    return true;
}

void COneShotTimer::Disarm() {
    if (m_bArmed && m_owner.m_hWnd != nullptr) ::KillTimer(m_owner.m_hWnd, m_nIDEvent);
    m_bArmed = false;
}
