#pragma once
// The thread that serves the low-level keyboard hook and does nothing else.
// Windows calls a low-level hook on the thread that installed it, and passes
// every key of the desktop on without the hook's answer (and in time removes
// the hook) when that thread does not answer in time; a thread of its own,
// with no windows to draw, no shell to wait on and no file to read, always
// answers at once. The engine state and the active layout tables belong to it:
// the tables are activated there, between two key events, never during one.
//
// Every call comes from the main thread and returns once the hook thread has
// done the step.

#include <windows.h>

#include <thread>

#include "LayoutTables.h"

class CKeyboardHookThread {
public:
    // The one hook thread of the process, started on first use.
    static CKeyboardHookThread& Instance();

    // The hook in force after a step that installs one.
    struct Installed {
        HHOOK hook;      // the new hook; `previous` (or nullptr) when it could not be installed
        bool succeeded;  // whether SetWindowsHookEx gave a new hook
    };

    // Installs the hook anew, then removes `previous` (when not nullptr), and
    // makes `tables` the active layout. One step of the hook thread, which
    // serves no key event in between: no event finds Marnell without a hook,
    // and none reaches two. When the new hook cannot be installed, `previous`
    // stays in force.
    Installed Install(HHOOK previous, LayoutTables tables);
    // The same without touching the tables or the engine state: for a hook
    // that Windows removed.
    Installed Reinstall(HHOOK previous);
    void Remove(HHOOK hook);
    // Ends the thread (its hooks go with it); a later call starts it again.
    void Stop();

    ~CKeyboardHookThread();

private:
    CKeyboardHookThread() = default;
    CKeyboardHookThread(const CKeyboardHookThread&) = delete;
    CKeyboardHookThread& operator=(const CKeyboardHookThread&) = delete;

    struct Request;
    void Call(Request& request);
    void Run();

    std::thread m_thread;
    DWORD m_threadId = 0;
    HANDLE m_done = nullptr;  // set by the hook thread when it is ready and after each request
};
