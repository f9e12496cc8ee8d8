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

#include "HookWitness.h"

// The witness's hidden window, and the message it answers with the number of
// hooks reinstalled so far (for tests and diagnostics from another process).
constexpr wchar_t kKeyboardWitnessClass[] = L"MarnellKeyboardWitness";
constexpr UINT kWitnessReinstallsQuery = WM_APP + 0x57;

// What the witness asks of the one who owns the hook.
class HookKeeper {
public:
    virtual void ReinstallHook() = 0;

protected:
    ~HookKeeper() = default;
};

class CKeyboardWitness {
public:
    static CKeyboardWitness& Instance();

    // Starts watching for `keeper`, whose hook has just been installed.
    void Watch(HookKeeper* keeper);
    // Stops watching for `keeper` (translation disabled, or its owner gone):
    // nothing will be reinstalled for it.
    void StopFor(HookKeeper* keeper);
    bool IsWatching() const { return m_keeper != nullptr; }
    // Hooks reinstalled so far, by raw input, unlock or resume.
    unsigned Reinstalls() const { return m_reinstalls; }

private:
    CKeyboardWitness() = default;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnRawInput(HRAWINPUT input);
    void OnWaitOver();
    // Starts or ends the wait for a pending event's verdict.
    void FollowPending();
    void Reinstall();

    HWND m_hWnd = nullptr;
    HookKeeper* m_keeper = nullptr;
    HookWitness m_witness;
    unsigned m_reinstalls = 0;
    bool m_waiting = false;  // the pending event's timer runs
};
