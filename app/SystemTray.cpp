#include "SystemTray.h"

#include <cstring>

#include "AnsiText.h"
#include "DisplayScale.h"
#include "SystemFunction.h"
#include "WideText.h"
#include "WritingWindow.h"
#include "resource.h"

static_assert(sizeof(void*) != 4 || kTrayIconDataSize == 488,
              "the version-2 tray record is 488 bytes in a 32-bit build");

IMPLEMENT_DYNAMIC(CSystemTray, CWnd)

// The shell's broadcast when it starts (again), registered once per process.
const UINT CSystemTray::s_nTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

BEGIN_MESSAGE_MAP(CSystemTray, CWnd)
    ON_REGISTERED_MESSAGE(CSystemTray::s_nTaskbarCreated, &CSystemTray::OnTaskbarCreated)
    ON_WM_TIMER()
    // The tray's hidden window knows the system's scale only: these, not
    // WM_DPICHANGED, say that the taskbar's scale may have changed.
    ON_MESSAGE(WM_DISPLAYCHANGE, &CSystemTray::OnScaleMayHaveChanged)
    ON_MESSAGE(WM_SETTINGCHANGE, &CSystemTray::OnScaleMayHaveChanged)
END_MESSAGE_MAP()

CSystemTray::QueryUserStateFn CSystemTray::s_pfnQueryUserState = nullptr;

namespace {
// How often a waiting balloon asks again whether the user may be interrupted.
constexpr UINT kBusyRetryMs = 15000;

HRESULT WINAPI AlwaysAccepts(QUERY_USER_NOTIFICATION_STATE* state) {
    *state = QUNS_ACCEPTS_NOTIFICATIONS;
    return S_OK;
}
}  // namespace

CSystemTray::NotifyIconFn CSystemTray::s_pfnNotifyIcon = &Shell_NotifyIconA;
CSystemTray::NotifyIconWFn CSystemTray::s_pfnNotifyIconW = &Shell_NotifyIconW;
// The tray needs only GetVersion's major version, which every Windows reports
// as at least 6; the SDK's deprecation of the call is no fault here.
#ifdef _MSC_VER
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
CSystemTray::GetVersionFn CSystemTray::s_pfnGetVersion = &GetVersion;
#ifdef _MSC_VER
#pragma warning(pop)
#endif

CSystemTray::CSystemTray() : m_bIconAdded(FALSE), m_iconData(), m_nDefaultItem(0), m_bDefaultByPosition(TRUE) {
    std::memset(&m_iconData, 0, sizeof(m_iconData));
}

CSystemTray::~CSystemTray() {
    DeleteTrayIcon();
    DestroyWindow();
    if (m_hIconLoaded != nullptr) DestroyIcon(m_hIconLoaded);
}

HICON CSystemTray::IconFromResource(UINT iconId) {
    const int size = NotificationIconSize();
    HICON icon = static_cast<HICON>(
        LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon == nullptr) return m_hIconLoaded;
    // The shell has copied the image before; the old one may go once the new is set.
    HICON previous = m_hIconLoaded;
    m_hIconLoaded = icon;
    m_nIconResource = iconId;
    if (previous != nullptr && previous != icon) {
        if (m_iconData.hIcon == previous) m_iconData.hIcon = icon;
        DestroyIcon(previous);
    }
    return icon;
}

bool CSystemTray::RepickIcon() {
    if (m_nIconResource == 0 || m_iconData.hIcon != m_hIconLoaded) return false;
    IconFromResource(m_nIconResource);
    return true;
}

LRESULT CSystemTray::OnScaleMayHaveChanged(WPARAM, LPARAM) {
    if (RepickIcon() && m_bIconWanted) {
        const std::string tip = m_strTip;
        SetTrayIcon(m_iconData.hIcon, tip.c_str());
    }
    return Default();
}

BOOL CSystemTray::AddTrayIcon(UINT uCallbackMessage, LPCSTR tooltip, HICON icon, UINT id) {
    if (LOBYTE(LOWORD(s_pfnGetVersion())) < 4) {
        m_bIconAdded = FALSE;
        return FALSE;
    }
    CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    // Without the window the shell's messages would have nowhere to go.
    if (m_hWnd == nullptr) {
        m_bIconAdded = FALSE;
        return FALSE;
    }
    m_iconData.cbSize = kTrayIconDataSize;
    m_iconData.hWnd = m_hWnd;
    m_iconData.uID = id;
    m_iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_iconData.uCallbackMessage = uCallbackMessage;
    m_iconData.hIcon = icon;
    SetTip(tooltip);

    m_bIconWanted = true;
    m_bIconAdded = s_pfnNotifyIcon(NIM_ADD, &m_iconData) ? TRUE : FALSE;
    return m_bIconAdded;
}

void CSystemTray::SetTip(LPCSTR tooltip) {
    m_strTip = tooltip ? tooltip : "";
    // A balloon that waits is named in the tooltip meanwhile.
    std::string shown = m_strTip;
    if (m_pending) shown = "Marnell: " + AnsiFromWide(WideFromUtf8(m_pending->title).c_str());
    // The field holds 127 characters and the terminating zero; longer text is cut.
    const size_t length = shown.size() < sizeof(m_iconData.szTip) - 1 ? shown.size() : sizeof(m_iconData.szTip) - 1;
    std::memcpy(m_iconData.szTip, shown.data(), length);
    m_iconData.szTip[length] = '\0';
}

BOOL CSystemTray::SetTrayIcon(HICON icon, LPCSTR tooltip) {
    m_iconData.hIcon = icon;
    SetTip(tooltip);
    if (!m_bIconWanted) return FALSE;
    m_iconData.uFlags = NIF_ICON | NIF_TIP;
    if (m_bIconAdded && s_pfnNotifyIcon(NIM_MODIFY, &m_iconData)) return TRUE;
    // The shell holds no icon of ours although it was never deleted: it
    // restarted, or became ready, without the TaskbarCreated broadcast that
    // would have said so (Wine's shell need not send it). It takes the icon now.
    return AddToShell();
}

BOOL CSystemTray::AddToShell() {
    m_iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_bIconAdded = s_pfnNotifyIcon(NIM_ADD, &m_iconData) ? TRUE : FALSE;
    return m_bIconAdded;
}

namespace {

// UTF-8 into a fixed wide field, cut to fit with its terminating zero and
// never between the two halves of a surrogate pair.
template <size_t N>
void CopyWide(WCHAR (&field)[N], const std::string& utf8) {
    const std::wstring wide = WideFromUtf8(utf8);
    size_t n = wide.size() < N - 1 ? wide.size() : N - 1;
    if (n < wide.size() && n > 0 && wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF) --n;
    wide.copy(field, n);
    field[n] = L'\0';
}

}  // namespace

bool CSystemTray::UserMayBeInterrupted() {
    if (s_pfnQueryUserState == nullptr) {
        // Loaded at run time: systems before Vista have no such question.
        s_pfnQueryUserState = SystemFunction<QueryUserStateFn>(L"shell32.dll", "SHQueryUserNotificationState");
        if (s_pfnQueryUserState == nullptr) s_pfnQueryUserState = &AlwaysAccepts;
    }
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (FAILED(s_pfnQueryUserState(&state))) return true;
    return state != QUNS_BUSY && state != QUNS_RUNNING_D3D_FULL_SCREEN && state != QUNS_PRESENTATION_MODE;
}

BOOL CSystemTray::ShowBalloon(const std::string& title, const std::string& text, Balloon kind) {
    if (!m_bIconAdded) return FALSE;
    m_pending = PendingBalloon{title, text, kind};  // replaces one that waited
    if (!UserMayBeInterrupted()) {
        const std::string tip = m_strTip;
        SetTrayIcon(m_iconData.hIcon, tip.c_str());
        m_pendingWait.Arm(kBusyRetryMs);
        return TRUE;
    }
    const PendingBalloon balloon = *m_pending;
    m_pending.reset();
    m_pendingWait.Disarm();
    return SendBalloon(balloon);
}

void CSystemTray::OnTimer(UINT_PTR nIDEvent) {
    if (!m_pendingWait.Fired(nIDEvent) || !m_pending) return;
    if (!UserMayBeInterrupted()) {
        m_pendingWait.Arm(kBusyRetryMs);
        return;
    }
    const PendingBalloon balloon = *m_pending;
    m_pending.reset();
    const std::string tip = m_strTip;
    SetTrayIcon(m_iconData.hIcon, tip.c_str());  // the tooltip of the icon's state again
    if (m_bIconAdded) SendBalloon(balloon);
}

BOOL CSystemTray::SendBalloon(const PendingBalloon& shown) {
    NOTIFYICONDATAW balloon = {};
    // Marnell's own icon in the balloon needs the record of Vista and later.
    const bool vista = LOBYTE(LOWORD(s_pfnGetVersion())) >= 6;
    balloon.cbSize = vista ? sizeof(NOTIFYICONDATAW) : NOTIFYICONDATAW_V2_SIZE;
    balloon.hWnd = m_iconData.hWnd;
    balloon.uID = m_iconData.uID;
    balloon.uFlags = NIF_INFO;
    if (m_bBalloonSent) {
        // An empty balloon takes the one that shows away: the new one replaces
        // it rather than waiting behind it.
        s_pfnNotifyIconW(NIM_MODIFY, &balloon);
    }
    balloon.dwInfoFlags = NIIF_RESPECT_QUIET_TIME;
    if (shown.kind == Balloon::Warning) {
        balloon.dwInfoFlags |= NIIF_WARNING;
    } else if (vista) {
        balloon.dwInfoFlags |= NIIF_USER | NIIF_LARGE_ICON;
        balloon.hBalloonIcon =
            static_cast<HICON>(LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_TRAY), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    } else {
        balloon.dwInfoFlags |= NIIF_INFO;
    }
    CopyWide(balloon.szInfoTitle, shown.title);
    CopyWide(balloon.szInfo, shown.text);
    m_bBalloonSent = true;
    return s_pfnNotifyIconW(NIM_MODIFY, &balloon);
}

void CSystemTray::DeleteTrayIcon() {
    m_bIconWanted = false;
    if (!m_bIconAdded) return;
    m_iconData.uFlags = 0;
    s_pfnNotifyIcon(NIM_DELETE, &m_iconData);
    m_bIconAdded = FALSE;
}

BOOL CSystemTray::SetDefaultTrayItem(UINT item, BOOL byPosition) {
    if (item == m_nDefaultItem && byPosition == m_bDefaultByPosition) return TRUE;
    m_nDefaultItem = item;
    m_bDefaultByPosition = byPosition;
    CMenu menu;
    if (!menu.LoadMenu(LOWORD(m_iconData.uID))) return FALSE;
    return menu.GetSubMenu(0) != nullptr ? TRUE : FALSE;
}

// The callback message is the creator's choice, known only at run time.
LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_iconData.uCallbackMessage && m_iconData.uCallbackMessage != 0)
        return OnTrayIconMessage(wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

// A restarted shell forgets every icon, and one that was not ready refused
// it: either way it takes the icon now.
LRESULT CSystemTray::OnTaskbarCreated(WPARAM, LPARAM) {
    RepickIcon();  // the new taskbar may be on a monitor of another scale
    if (m_bIconWanted) AddToShell();
    return 0;
}

LRESULT CSystemTray::OnTrayIconMessage(WPARAM wParam, LPARAM lParam) {
    if (static_cast<UINT>(wParam) != m_iconData.uID) return 0;
    // The pointer reaches the icon while the user's own window is still in front.
    WritingWindow::Notice(GetForegroundWindow());
    if (LOWORD(lParam) == NIN_BALLOONSHOW) {
        if (m_balloonShown) m_balloonShown();
        return 1;
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || pMainWnd->m_hWnd == nullptr) return 0;
    switch (LOWORD(lParam)) {
        case WM_RBUTTONUP:
            return ShowTrayMenu(pMainWnd);
        case WM_LBUTTONDBLCLK:
            return SendDefaultCommand(pMainWnd);
        default:
            return 1;
    }
}

LRESULT CSystemTray::ShowTrayMenu(CWnd* pMainWnd) {
    CMenu menu;
    if (!menu.LoadMenu(LOWORD(m_iconData.uID))) return 0;
    HMENU subMenu = menu.GetSubMenu(0);
    if (subMenu == nullptr) return 0;
    SetMenuDefaultItem(subMenu, m_nDefaultItem, m_bDefaultByPosition);
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    pMainWnd->SetForegroundWindow();
    TrackPopupMenu(subMenu, 0, cursor.x, cursor.y, 0, pMainWnd->m_hWnd, nullptr);
    pMainWnd->PostMessage(WM_NULL, 0, 0);
    return 1;
}

LRESULT CSystemTray::SendDefaultCommand(CWnd* pMainWnd) {
    pMainWnd->SetForegroundWindow();
    UINT command = m_nDefaultItem;
    if (m_bDefaultByPosition) {
        CMenu menu;
        if (!menu.LoadMenu(LOWORD(m_iconData.uID))) return 0;
        HMENU subMenu = menu.GetSubMenu(0);
        if (subMenu == nullptr) return 0;
        command = GetMenuItemID(subMenu, static_cast<int>(m_nDefaultItem));
        // A position past the menu's end (or a separator) names no command: the
        // double-click then opens the configuration dialog.
        if (command == static_cast<UINT>(-1) || command == 0) command = ID_SHOW_CONFIG;
    }
    pMainWnd->SendMessage(WM_COMMAND, command, 0);
    return 1;
}
