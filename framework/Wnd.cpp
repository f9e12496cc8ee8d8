#include "Wnd.h"

#include <string>

#include "AnsiText.h"
#include "ThreadState.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

// The object that CreateEx is creating a window for; the window's first message
// attaches it, before CreateWindowEx has returned the handle.
thread_local CWnd* t_pWndInit = nullptr;

bool IsRoutedToOwners(UINT nID) { return nID >= 0x8000 && nID <= 0xEFFF; }

}  // namespace

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr), m_current{0, 0, 0} {}

CWnd::~CWnd() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

// The object lives in the window's user data, which is read in the process
// itself: a window property would cost a round trip to Wine's server at every
// message, and the witness's window has a message for every key. Only a
// window whose procedure is the framework's own carries an object there, so
// the user data of another class's or another program's window is never
// taken for one.
CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr) return nullptr;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) != &AfxWndProc) return nullptr;
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h != nullptr) ::SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                    HMENU nIDorHMenu, LPVOID lpParam) {
    // A class name may also be an atom, as MAKEINTATOM makes it.
    const bool atom = IS_INTRESOURCE(lpszClassName);
    const std::wstring className = atom ? std::wstring() : WideFromAnsi(lpszClassName);
    const std::wstring windowName = WideFromAnsi(lpszWindowName);
    CWnd* previous = t_pWndInit;
    t_pWndInit = this;
    HWND h = ::CreateWindowExW(dwExStyle, atom ? reinterpret_cast<LPCWSTR>(lpszClassName) : className.c_str(),
                               windowName.c_str(), dwStyle, x, y, nWidth, nHeight, hWndParent, nIDorHMenu,
                               AfxGetInstanceHandle(), lpParam);
    t_pWndInit = previous;
    if (h == nullptr) return FALSE;
    if (m_hWnd == nullptr && ::IsWindow(h)) {
        // A class with its own procedure: subclass it so that messages still
        // reach this object.
        Attach(h);
        m_pfnSuper = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    }
    return m_hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
HMENU CWnd::GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }

BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }

UINT CWnd::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }

// Every window of the framework is a Unicode window: its classes are
// registered wide, and dialogs and subclassed windows are created wide.
LRESULT CWnd::Default() {
    WNDPROC proc = m_pfnSuper != nullptr ? m_pfnSuper : &::DefWindowProcW;
    return ::CallWindowProcW(proc, m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) return 0;
        return Default();
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message, 0);
    if (e != nullptr) return e->pfnHandler(*this, wParam, lParam);
    return Default();
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    // Commands are menu items (0), accelerators (1, no control) and button
    // clicks (BN_CLICKED = 0); other control notifications are not commands.
    if (code != 0 && !(code == 1 && lParam == 0)) return FALSE;
    if (OnCmdMsg(nID)) return TRUE;
    if (!IsRoutedToOwners(nID)) return FALSE;
    for (HWND owner = ::GetWindow(m_hWnd, GW_OWNER); owner != nullptr;
         owner = ::GetWindow(owner, GW_OWNER)) {
        CWnd* pOwner = FromHandlePermanent(owner);
        if (pOwner != nullptr && pOwner->OnCmdMsg(nID)) return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID);
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr && t_pWndInit != nullptr) {
        pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->Attach(hWnd);
        pWnd->m_pfnSuper = &::DefWindowProcW;
    }
    if (pWnd == nullptr) return ::DefWindowProcW(hWnd, message, wParam, lParam);

    const CWnd::CurrentMessage saved = pWnd->m_current;
    pWnd->m_current = {message, wParam, lParam};
    LRESULT result = pWnd->WindowProc(message, wParam, lParam);
    // A handler may have deleted its own object (Exit does), which destroys and
    // detaches the window: nothing of the object may be touched then.
    if (CWnd::FromHandlePermanent(hWnd) != pWnd) return result;
    pWnd->m_current = saved;

    if (message == WM_NCDESTROY) {
        CWinThread* thread = AfxGetThread();
        if (thread != nullptr && thread->m_pMainWnd == pWnd) {
            thread->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        pWnd->Detach();
        pWnd->m_pfnSuper = nullptr;
    }
    return result;
}
