#pragma once
// A one-shot timer of a window, for work that waits a moment: armed for a
// delay, it fires once (WM_TIMER with its identifier reaches the window's
// OnTimer, which asks Fired) and is disarmed there. Arming it while it is
// armed changes nothing, so a burst of events costs no timer call each, and
// nothing runs while it is not armed.

#include <windows.h>

class CWnd;

class COneShotTimer {
public:
    COneShotTimer(CWnd& owner, UINT_PTR nIDEvent) : m_owner(owner), m_nIDEvent(nIDEvent) {}
    ~COneShotTimer() { Disarm(); }
    COneShotTimer(const COneShotTimer&) = delete;
    COneShotTimer& operator=(const COneShotTimer&) = delete;

    // Arms it for `delayMs` unless it is armed already. False when the
    // window has no timer (it does not exist, or the system has none left).
    bool Arm(UINT delayMs);
    // For the owner's OnTimer: true when `nIDEvent` is this timer's while it
    // is armed; it is disarmed then.
    bool Fired(UINT_PTR nIDEvent);
    void Disarm();
    bool IsArmed() const { return m_bArmed; }

private:
    CWnd& m_owner;
    const UINT_PTR m_nIDEvent;
    bool m_bArmed = false;
};
