#pragma once
// What the tray icon and configuration dialog tests share: the application
// object, a stand-in shell that records every Shell_NotifyIconA call, a main
// window that records the commands it is sent, message pumping with a time
// limit, and a way to read and operate a popup menu while it is open.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "Framework.h"

// The test program's application object; it is also the main thread's
// CWinThread, so destroying its main window posts WM_QUIT as in the program.
CWinApp& TestApp();

// Replaces the shell call for as long as it lives. Plain Wine has no
// notification area, so the record passed is what can be checked.
class ShellRecorder {
public:
    explicit ShellRecorder(BOOL addResult = TRUE);
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    struct Call {
        DWORD message;
        NOTIFYICONDATAA data;  // the first 488 bytes as sent; the rest zero
    };
    std::vector<Call> calls;
    BOOL addResult;
    BOOL modifyResult = TRUE;  // FALSE: a shell that no longer holds the icon

    int Count(DWORD message) const;
};

// A hidden top-level window that records each WM_COMMAND it receives.
class CCommandRecorder : public CWnd {
public:
    CCommandRecorder();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::vector<WPARAM> commands;
};

// Dispatches what is queued for this thread the way the framework's loop does.
// Returns true when a WM_QUIT was taken off the queue (its code in *quitCode).
bool PumpPendingMessages(int* quitCode = nullptr);

// Runs the application's message loop until WM_QUIT; gives up after timeoutMs
// and then returns kLoopTimedOut.
constexpr int kLoopTimedOut = 0x7E57;
int RunMessageLoop(UINT timeoutMs);

// What a popup menu showed while it was open.
struct SeenMenu {
    std::vector<std::string> texts;  // separators as ""
    std::vector<UINT> ids;
    std::vector<bool> checked;
    UINT defaultPosition = static_cast<UINT>(-1);
};

// While installed, every popup menu that opens on this thread is read and then
// operated with keys: `downPresses` times Down and then Enter, or Escape when
// downPresses is 0. The work is done from a thread timer, which the menu's own
// modal loop dispatches. `whileOpen`, when set, also runs while a menu is open.
class PopupMenuDriver {
public:
    explicit PopupMenuDriver(int downPresses = 0);
    ~PopupMenuDriver();
    PopupMenuDriver(const PopupMenuDriver&) = delete;
    PopupMenuDriver& operator=(const PopupMenuDriver&) = delete;

    std::vector<SeenMenu> seen;
    int downPresses;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR m_timer;
    HWND m_handled = nullptr;
};

// The visible windows of this thread with the given class name.
std::vector<HWND> VisibleThreadWindows(const char* className);
