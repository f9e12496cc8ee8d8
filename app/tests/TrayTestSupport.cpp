#include "TrayTestSupport.h"

#include <cstring>

#include "SystemTray.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

ShellRecorder* g_pRecorder = nullptr;

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAA data) {
    ShellRecorder::Call call;
    call.message = message;
    std::memset(&call.data, 0, sizeof(call.data));
    if (data != nullptr) std::memcpy(&call.data, data, kTrayIconDataSize);
    g_pRecorder->calls.push_back(call);
    if (message == NIM_ADD) return g_pRecorder->addResult;
    return message == NIM_MODIFY ? g_pRecorder->modifyResult : TRUE;
}

PopupMenuDriver* g_pDriver = nullptr;

void CALLBACK EndLoopAfterTimeout(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(kLoopTimedOut); }

SeenMenu ReadMenu(HMENU menu) {
    SeenMenu seen;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[128] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text) - 1;
        ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        seen.texts.push_back((info.fType & MFT_SEPARATOR) ? std::string() : std::string(text));
        seen.ids.push_back(info.wID);
        seen.checked.push_back((info.fState & MFS_CHECKED) != 0);
    }
    seen.defaultPosition = ::GetMenuDefaultItem(menu, TRUE, 0);
    return seen;
}

}  // namespace

CWinApp& TestApp() { return theApp; }

ShellRecorder::ShellRecorder(BOOL result) : addResult(result) {
    g_pRecorder = this;
    CSystemTray::s_pfnNotifyIcon = &RecordNotify;
}

ShellRecorder::~ShellRecorder() {
    CSystemTray::s_pfnNotifyIcon = &Shell_NotifyIconA;
    g_pRecorder = nullptr;
}

int ShellRecorder::Count(DWORD message) const {
    int n = 0;
    for (const Call& call : calls) n += call.message == message ? 1 : 0;
    return n;
}

CCommandRecorder::CCommandRecorder() {
    CreateEx(0, AfxRegisterWndClass(0), "command recorder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
}

LRESULT CCommandRecorder::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        commands.push_back(wParam);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

bool PumpPendingMessages(int* quitCode) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            if (quitCode != nullptr) *quitCode = static_cast<int>(msg.wParam);
            return true;
        }
        if (!theApp.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return false;
}

int RunMessageLoop(UINT timeoutMs) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, timeoutMs, &EndLoopAfterTimeout);
    const int code = theApp.Run();
    ::KillTimer(nullptr, timer);
    return code;
}

PopupMenuDriver::PopupMenuDriver(int presses) : downPresses(presses) {
    g_pDriver = this;
    m_timer = ::SetTimer(nullptr, 0, 30, &PopupMenuDriver::OnTimer);
}

PopupMenuDriver::~PopupMenuDriver() {
    ::KillTimer(nullptr, m_timer);
    g_pDriver = nullptr;
}

void CALLBACK PopupMenuDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    PopupMenuDriver* self = g_pDriver;
    if (self == nullptr) return;
    const std::vector<HWND> menus = VisibleThreadWindows("#32768");
    if (menus.empty() || menus.front() == self->m_handled) return;
    HWND menuWnd = menus.front();
    self->m_handled = menuWnd;
    self->seen.push_back(ReadMenu(reinterpret_cast<HMENU>(::SendMessageW(menuWnd, MN_GETHMENU, 0, 0))));
    // The menu's loop takes key messages of this thread whatever window they
    // are posted to; keyboard focus is not needed.
    for (int i = 0; i < self->downPresses; ++i) ::PostMessageW(menuWnd, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menuWnd, WM_KEYDOWN, self->downPresses > 0 ? VK_RETURN : VK_ESCAPE, 0);
}

namespace {

struct WindowSearch {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleOfClass(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char name[64] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (std::strcmp(name, search->className) == 0 && ::IsWindowVisible(hWnd)) search->found.push_back(hWnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleThreadWindows(const char* className) {
    WindowSearch search{className, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectVisibleOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
