#pragma once
// Watches the keyboard through raw input, independently of the low-level hook,
// while translation is enabled, and has the hook reinstalled when raw input
// shows it gone (HookWitness decides), and once when the session is unlocked
// or the machine resumes from sleep, the moments hooks are lost. Lives on the
// main thread in a hidden window of its own; nothing polls, and a one-shot
// timer runs only while a raw event waits for its verdict. Each raw key-down
// also has the foreground window followed for the programs Marnell stays out
// of (ForegroundExclusion.h).

#include <windows.h>

#include "Framework.h"
#include "HookWitness.h"
#include "KeyboardWitnessQuery.h"

// What the witness asks of the one who owns the hook.
class HookKeeper {
public:
    virtual void ReinstallHook() = 0;

protected:
    ~HookKeeper() = default;
};

// Who else wants the raw keys the witness sees: each key event, left and
// right keys told apart, at the time the system gave it.
class RawKeyListener {
public:
    virtual void OnRawKey(uint32_t vk, bool down, uint32_t timeMs) = 0;

protected:
    ~RawKeyListener() = default;
};

class CKeyboardWitness : public CWnd {
public:
    static CKeyboardWitness& Instance();

    // Starts watching for `keeper`, whose hook has just been installed.
    void Watch(HookKeeper* keeper);
    // Stops watching for `keeper` (translation disabled, or its owner gone):
    // nothing will be reinstalled for it.
    void StopFor(HookKeeper* keeper);
    bool IsWatching() const { return m_keeper != nullptr; }
    // Raw keys are passed on to `listener` while translation is on; nullptr: to nobody.
    void SetKeyListener(RawKeyListener* listener) { m_listener = listener; }
    // Hooks reinstalled so far, by raw input, unlock or resume.
    unsigned Reinstalls() const { return m_reinstalls; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    CKeyboardWitness() = default;
    LRESULT OnInput(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnReinstallsQuery(WPARAM wParam, LPARAM lParam);
    LRESULT OnSessionChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);
    void OnRawInput(HRAWINPUT input);
    // Starts the wait for a pending event's verdict.
    void FollowPending();
    void Reinstall();

    HookKeeper* m_keeper = nullptr;
    RawKeyListener* m_listener = nullptr;
    HookWitness m_witness;
    unsigned m_reinstalls = 0;
    COneShotTimer m_pendingWait{*this, 1};
};
