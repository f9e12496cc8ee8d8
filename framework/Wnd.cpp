#include "Wnd.h"

#include "ThreadState.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

const wchar_t kObjectProperty[] = L"MarnellFrameworkWnd";

// The object that CreateEx is creating a window for; the window's first message
// attaches it, before CreateWindowEx has returned the handle.
thread_local CWnd* t_pWndInit = nullptr;

bool IsRoutedToOwners(UINT nID) { return nID >= 0x8000 && nID <= 0xEFFF; }

}  // namespace

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr), m_current{0, 0, 0} {}

CWnd::~CWnd() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr) return nullptr;
    return static_cast<CWnd*>(::GetPropW(hWnd, kObjectProperty));
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetPropW(hWnd, kObjectProperty, this);
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h != nullptr) ::RemovePropW(h, kObjectProperty);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                    HMENU nIDorHMenu, LPVOID lpParam) {
    CWnd* previous = t_pWndInit;
    t_pWndInit = this;
    HWND h = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth,
                               nHeight, hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
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

void CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    ::SendMessageW(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                   reinterpret_cast<LPARAM>(hIcon));
}

BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }

UINT CWnd::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }

// The framework's own classes are registered with narrow names and so are ANSI
// windows; dialogs are Unicode. Default handling must use the same character
// set as the window, or texts such as the caption are read in the wrong width.
static WNDPROC DefaultProcFor(HWND hWnd) { return ::IsWindowUnicode(hWnd) ? &::DefWindowProcW : &::DefWindowProcA; }

LRESULT CWnd::Default() {
    WNDPROC proc = m_pfnSuper != nullptr ? m_pfnSuper : DefaultProcFor(m_hWnd);
    if (::IsWindowUnicode(m_hWnd)) {
        return ::CallWindowProcW(proc, m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
    }
    return ::CallWindowProcA(proc, m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
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
        pWnd->m_pfnSuper = DefaultProcFor(hWnd);
    }
    if (pWnd == nullptr) return DefaultProcFor(hWnd)(hWnd, message, wParam, lParam);

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
        pWnd->PostNcDestroy();
    }
    return result;
}
