#include "WritingWindow.h"

#include <cwchar>
#include <initializer_list>

HWND WritingWindow::s_last = nullptr;

namespace {

// The shell's own windows: the taskbars, the notification area's overflow,
// menus, the desktop, and the start menu and search hosts.
bool IsShellWindow(HWND window) {
    wchar_t name[64] = {};
    if (GetClassNameW(window, name, 64) == 0) return true;
    for (const wchar_t* shell :
         {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"NotifyIconOverflowWindow", L"#32768", L"#32769", L"Progman",
          L"WorkerW", L"Windows.UI.Core.CoreWindow", L"TopLevelWindowForOverflowXamlIsland", L"tooltips_class32"})
        if (std::wcscmp(name, shell) == 0) return true;
    return false;
}

}  // namespace

void WritingWindow::Notice(HWND window) {
    if (window == nullptr || !IsWindow(window)) return;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() || IsShellWindow(window)) return;
    s_last = window;
}

HWND WritingWindow::Last() { return s_last != nullptr && IsWindow(s_last) ? s_last : nullptr; }
