#include "Marnell2Dlg.h"

#include "CharacterPanel.h"
#include "CharacterTexts.h"
#include "CharactersDlg.h"
#include "ForegroundExclusion.h"
#include "KeyLabel.h"
#include "LayoutFile.h"
#include "LayoutNotice.h"
#include "Settings.h"
#include "WideText.h"
#include "WritingWindow.h"
#include "resource.h"

CMarnell2Dlg::ShellExecuteFn CMarnell2Dlg::s_pfnShellExecute = &ShellExecuteA;
bool CMarnell2Dlg::s_bOutOfReachSaid = false;

namespace {
// The foreground is followed for the whole program; the current dialog speaks.
void TellReach(bool outOfReach) {
    if (auto* dialog = dynamic_cast<CMarnell2Dlg*>(AfxGetMainWnd())) dialog->OnReachChanged(outOfReach);
}
}  // namespace

BEGIN_MESSAGE_MAP(CMarnell2Dlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDCANCEL, &CMarnell2Dlg::OnClickedCancel)
    ON_BN_CLICKED(IDOK, &CMarnell2Dlg::OnClickedOk)
    ON_COMMAND(ID_TRAY_EXIT, &CMarnell2Dlg::OnExit)
    ON_COMMAND(ID_SHOW_CONFIG, &CMarnell2Dlg::OnShowConfig)
    ON_COMMAND(ID_TRAY_ENABLED, &CMarnell2Dlg::OnTrayEnabled)
    ON_COMMAND(ID_TRAY_CHARACTERS, &CMarnell2Dlg::OnCharacters)
    ON_COMMAND(ID_TRAY_SHOW_CHARACTERS, &CMarnell2Dlg::OnShowCharacters)
    ON_MESSAGE(WM_HOTKEY, &CMarnell2Dlg::OnHotKey)
    ON_MESSAGE(WM_INITMENUPOPUP, &CMarnell2Dlg::OnInitMenuPopup)
    ON_COMMAND(ID_TRAY_ABOUT, &CMarnell2Dlg::OnAbout)
    ON_COMMAND(ID_WEB_REFERRAL, &CMarnell2Dlg::OnWebReferral)
    ON_COMMAND(ID_WEB_HOME, &CMarnell2Dlg::OnWebHome)
    ON_COMMAND(ID_WEB_FEEDBACK, &CMarnell2Dlg::OnWebFeedback)
    ON_COMMAND(ID_WEB_UPDATES, &CMarnell2Dlg::OnWebUpdates)
    ON_COMMAND(ID_WEB_HELP, &CMarnell2Dlg::OnWebHelp)
    ON_WM_ENDSESSION()
END_MESSAGE_MAP()

CMarnell2Dlg::CMarnell2Dlg(CWnd* pParent)
    : CDialog(IDD_CONFIG_ENGLISH, pParent),
      m_hKeyboardHook(nullptr),
      m_bEnabled(false),
      m_hIcon(LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_TRAY))),
      m_bAboutOpen(false) {}

// The witness must not call on a dialog that is gone.
CMarnell2Dlg::~CMarnell2Dlg() {
    CKeyboardWitness::Instance().StopFor(this);
    CConfigFileWatch::Instance().StopFor(this);
    ReleaseToggleHotKey();
}

BOOL CMarnell2Dlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_bAboutOpen = false;

    if (HMENU systemMenu = GetSystemMenu(FALSE)) {
        char text[256] = {};
        if (LoadStringA(AfxGetResourceHandle(), IDS_SYSMENU_ABOUT, text, sizeof(text)) > 0 && text[0] != '\0') {
            AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(systemMenu, MF_STRING, IDM_SYSMENU_ABOUT, text);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    const UINT menuId = IsWelsh() ? IDR_TRAY_MENU_CYMRAEG : IDR_TRAY_MENU_ENGLISH;
    HICON trayIcon = m_trayIcon.IconFromResource(IDI_TRAY);
    // A shell that is not ready yet (at sign-in) or busy refuses the icon; it
    // is added when the shell announces itself, and translation runs meanwhile
    // rather than leaving a hidden, untranslating program behind.
    m_trayIcon.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", trayIcon, menuId);
    m_trayIcon.SetDefaultTrayItem(11, TRUE);
    m_trayIcon.SetBalloonShownListener([this] { OnBalloonShown(); });
    RegisterToggleHotKey();
    CConfigFileWatch::Instance().Listen(this);
    CForegroundExclusion::Instance().SetForegroundListener(&WritingWindow::Notice);
    CForegroundExclusion::Instance().SetReachListener(&TellReach);
    m_bOutOfReach = CForegroundExclusion::Instance().ForegroundOutOfReach();
    const int enabled = EnableTranslation();
    WelcomeOnce();
    return enabled;
}

void CMarnell2Dlg::OfferCharacters(const LayoutTables& tables) {
    m_chords = DescribeChords(tables);
    CCharacterPanel& panel = CCharacterPanel::Instance();
    panel.SetWelsh(IsWelsh());
    panel.SetLayout(tables, m_hWnd);
    CKeyboardWitness::Instance().SetKeyListener(&panel);
    CCharactersDlg::Instance().SetLayout(m_chords, IsWelsh());
}

bool CMarnell2Dlg::ShowCharactersWanted() const {
    CWinApp* app = AfxGetApp();
    return app == nullptr || app->GetProfileInt(kSettingsSection, kShowCharactersEntry, 1) != 0;
}

void CMarnell2Dlg::AllowCharacterPanel() {
    CCharacterPanel::Instance().SetAllowed(m_bEnabled && ShowCharactersWanted());
}

void CMarnell2Dlg::OnCharacters() { CCharactersDlg::Instance().Open(); }

void CMarnell2Dlg::OnShowCharacters() {
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(kSettingsSection, kShowCharactersEntry, ShowCharactersWanted() ? 0 : 1);
    AllowCharacterPanel();
}

void CMarnell2Dlg::WelcomeOnce() {
    CWinApp* app = AfxGetApp();
    if (!m_bMayWelcome || app == nullptr || !m_bEnabled || m_bLayoutNoticeShown) return;
    if (app->GetProfileInt(kSettingsSection, kWelcomedEntry, 0) != 0) return;
    const std::optional<WelcomeText> welcome = WelcomeFor(m_chords, KeyLabel, IsWelsh());
    if (welcome && m_trayIcon.ShowBalloon(welcome->title, welcome->text, CSystemTray::Balloon::Notice))
        m_bWelcomeShowing = true;
}

void CMarnell2Dlg::OnBalloonShown() {
    if (!m_bWelcomeShowing) return;
    m_bWelcomeShowing = false;
    if (CWinApp* app = AfxGetApp()) app->WriteProfileInt(kSettingsSection, kWelcomedEntry, 1);
}

void CMarnell2Dlg::OnConfigFilesSaved(bool layoutChanged, bool excludeChanged) {
    if (layoutChanged && m_bEnabled) {
        EnableTranslation();  // reads exclude.txt too
        return;
    }
    if (excludeChanged) CForegroundExclusion::Instance().Reload();
}

void CMarnell2Dlg::ReportLayoutFindings(bool readable, const std::string& readBytes, bool loaded) {
    const LayoutCheckReport report = CheckReadLayout(readable, readBytes);
    const std::optional<LayoutNotice> notice = NoticeForLayout(kLayoutFileName, readable, report, !loaded, IsWelsh());
    m_bLayoutNoticeShown = notice.has_value();
    if (notice) {
        m_bWelcomeShowing = false;  // the shell shows this one instead
        // The warning sign only for a layout that did not load.
        m_trayIcon.ShowBalloon(notice->title, notice->text,
                               loaded ? CSystemTray::Balloon::Notice : CSystemTray::Balloon::Warning);
    }
}

bool CMarnell2Dlg::RegisterToggleHotKey() {
    if (!m_bHotKeyRegistered)
        m_bHotKeyRegistered =
            RegisterHotKey(m_hWnd, kToggleHotKeyId, kToggleHotKeyModifiers, kToggleHotKeyVk) != FALSE;
    return m_bHotKeyRegistered;
}

void CMarnell2Dlg::ReleaseToggleHotKey() {
    if (m_bHotKeyRegistered && m_hWnd != nullptr) UnregisterHotKey(m_hWnd, kToggleHotKeyId);
    m_bHotKeyRegistered = false;
}

void CMarnell2Dlg::OnReachChanged(bool outOfReach) {
    m_bOutOfReach = outOfReach;
    ShowTranslationState();
    if (!outOfReach || !m_bEnabled || s_bOutOfReachSaid) return;
    s_bOutOfReachSaid = true;
    m_bWelcomeShowing = false;
    if (IsWelsh())
        m_trayIcon.ShowBalloon("Ni all Marnell deipio yma",
                               "Mae'r ffenestr hon yn rhedeg fel gweinyddwr. Rhedwch Marnell fel gweinyddwr i "
                               "gyrraedd ffenestri fel hon.",
                               CSystemTray::Balloon::Notice);
    else
        m_trayIcon.ShowBalloon("Marnell cannot type here",
                               "This window runs as administrator. Run Marnell as administrator to reach such windows.",
                               CSystemTray::Balloon::Notice);
}

void CMarnell2Dlg::ShowTranslationState() {
    const UINT icon = m_bEnabled ? IDI_TRAY : IDI_TRAY_OFF;
    const char* tip = !m_bEnabled ? (IsWelsh() ? "Marnell (i ffwrdd)" : "Marnell (off)")
                      : m_bOutOfReach
                          ? (IsWelsh() ? "Ni all Marnell deipio yn y ffenestr hon (mae'n rhedeg fel gweinyddwr)"
                                       : "Marnell cannot type in this window (it runs as administrator)")
                          : "Marnell";
    m_trayIcon.SetTrayIcon(m_trayIcon.IconFromResource(icon), tip);
}

void CMarnell2Dlg::OnTrayEnabled() {
    if (m_bEnabled)
        DisableTranslation();
    else
        EnableTranslation();
}

LRESULT CMarnell2Dlg::OnHotKey(WPARAM wParam, LPARAM) {
    if (static_cast<int>(wParam) == kToggleHotKeyId) OnTrayEnabled();
    return 0;
}

LRESULT CMarnell2Dlg::OnInitMenuPopup(WPARAM wParam, LPARAM) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    CheckMenuItem(menu, ID_TRAY_ENABLED, MF_BYCOMMAND | (m_bEnabled ? MF_CHECKED : MF_UNCHECKED));
    // The entry names the layout's own activation keys.
    const std::wstring wide = WideFromUtf8(ShowCharactersMenuText(m_chords, KeyLabel, IsWelsh()));
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING | MIIM_STATE;
    item.fState = ShowCharactersWanted() ? MFS_CHECKED : MFS_UNCHECKED;
    item.dwTypeData = const_cast<wchar_t*>(wide.c_str());
    SetMenuItemInfoW(menu, ID_TRAY_SHOW_CHARACTERS, FALSE, &item);
    return 0;
}

void CMarnell2Dlg::OnClickedOk() {
    ShowWindow(SW_MINIMIZE);
    ShowWindow(SW_HIDE);
    if (IsDlgButtonChecked(IDC_ENABLED))
        EnableTranslation();
    else
        DisableTranslation();
}

void CMarnell2Dlg::OnClickedCancel() {
    ShowWindow(SW_MINIMIZE);
    ShowWindow(SW_HIDE);
    CheckDlgButton(IDC_ENABLED, m_bEnabled ? BST_CHECKED : BST_UNCHECKED);
}

void CMarnell2Dlg::OnAbout() {
    if (m_bAboutOpen) return;
    m_bAboutOpen = true;
    CDialog about(IDD_ABOUT);
    m_pAboutDlg = &about;
    about.DoModal();
    m_pAboutDlg = nullptr;
    m_bAboutOpen = false;
    // Exit came while the box was open; the object may go only now that no
    // frame of this handler still uses it.
    if (m_bExitRequested) delete this;
}

void CMarnell2Dlg::OnShowConfig() {
    if (m_bAboutOpen) return;
    ShowWindow(SW_SHOW);
    ShowWindow(SW_RESTORE);
}

void CMarnell2Dlg::OnExit() {
    if (m_bExitRequested) return;
    // A dialog that a language switch replaced owns the current one: ending it
    // would take its successor's window without its tray icon or hook. Exit
    // sent to it (the installer finds any of the program's dialogs) ends the
    // program through the current dialog instead.
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && pMainWnd != this && pMainWnd->m_hWnd != nullptr) {
        pMainWnd->SendMessage(WM_COMMAND, ID_TRAY_EXIT, 0);
        return;
    }
    if (m_bEnabled) DisableTranslation();
    OnCancel();
    if (m_bAboutOpen && m_pAboutDlg != nullptr) {
        m_bExitRequested = true;
        m_trayIcon.DeleteTrayIcon();
        m_pAboutDlg->EndDialog(IDCANCEL);
        return;
    }
    delete this;
}

std::string CMarnell2Dlg::WebAddress(UINT nCommand) const {
    const bool welsh = IsWelsh();
    const char* redirect = nullptr;
    switch (nCommand) {
        case ID_WEB_REFERRAL: redirect = "referral"; break;
        case ID_WEB_FEEDBACK: redirect = "feedback"; break;
        case ID_WEB_UPDATES: redirect = "updates"; break;
        case ID_WEB_HELP: redirect = "help"; break;
        case ID_WEB_HOME: return std::string(kVendorSite) + (welsh ? "/?lang=cy" : "/?lang=en");
        default: return std::string();
    }
    return std::string(kVendorSite) + "/marnell/redirect.asp?src=Web&dest=" + redirect +
           (welsh ? "&lang=2" : "&lang=1") + "&ver=2.0.1";
}

void CMarnell2Dlg::OpenWebPage(UINT nCommand) {
    const std::string address = WebAddress(nCommand);
    s_pfnShellExecute(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CMarnell2Dlg::OnWebReferral() { OpenWebPage(ID_WEB_REFERRAL); }
void CMarnell2Dlg::OnWebHome() { OpenWebPage(ID_WEB_HOME); }
void CMarnell2Dlg::OnWebFeedback() { OpenWebPage(ID_WEB_FEEDBACK); }
void CMarnell2Dlg::OnWebUpdates() { OpenWebPage(ID_WEB_UPDATES); }
void CMarnell2Dlg::OnWebHelp() { OpenWebPage(ID_WEB_HELP); }

void CMarnell2Dlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_SYSMENU_ABOUT) {
        OnAbout();
        return;
    }
    Default();
}

void CMarnell2Dlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    DrawIcon(dc, CentredIconOffset(rect.right - rect.left, cxIcon),
             CentredIconOffset(rect.bottom - rect.top, cyIcon), m_hIcon);
}

HCURSOR CMarnell2Dlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CMarnell2Dlg::OnEndSession(BOOL) {}
