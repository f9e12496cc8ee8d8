#include "Marnell2App.h"

#include <commctrl.h>

#include "ConfigFileWatch.h"
#include "ForegroundExclusion.h"
#include "KeyboardHookThread.h"
#include "LayoutFile.h"
#include "Marnell2Dlg.h"
#include "Settings.h"
#include "SplashClass.h"
#include "resource.h"

namespace {
constexpr char kRunningMutexName[] = "Local\\Corvane.Marnell2.Running";
}  // namespace

BEGIN_MESSAGE_MAP(CMarnell2App, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
    ON_COMMAND(ID_LANGUAGE_CYMRAEG, &CMarnell2App::OnLanguageCymraeg)
    ON_COMMAND(ID_LANGUAGE_ENGLISH, &CMarnell2App::OnLanguageEnglish)
END_MESSAGE_MAP()

CMarnell2App::CMarnell2App() : m_pConfigDlg(nullptr) {}

CMarnell2App::~CMarnell2App() = default;

BOOL CMarnell2App::InitInstance() {
    // One copy per session. A window title would be a poor sign of a running
    // copy: any program's window called "Marnell" (a folder of that name, as
    // the install folder is) would block the start. The object lives as long
    // as this process.
    m_hRunningMutex = CreateMutexA(nullptr, FALSE, kRunningMutexName);
    if (m_hRunningMutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) return FALSE;
    if (!LoadLayoutFile(kLayoutFilePath)) return FALSE;

    CSplashClass splash;
    InitCommonControls();
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey("Corvane");
    m_strLanguage = GetProfileString(kSettingsSection, kLanguageEntry);

    m_pConfigDlg = new CMarnell2Dlg(nullptr);
    m_pConfigDlg->m_bMayWelcome = true;
    UINT nIDTemplate = IDD_CONFIG_ENGLISH;
    if (m_strLanguage == "cy") {
        m_pConfigDlg->m_strLanguage = "cy";
        nIDTemplate = IDD_CONFIG_CYMRAEG;
    } else {
        m_pConfigDlg->m_strLanguage = "en";
    }
    m_pConfigDlg->Create(nIDTemplate, nullptr);
    m_pConfigDlg->ShowWindow(SW_HIDE);
    m_pMainWnd = m_pConfigDlg;

    // The tray, the witness and the file watch live on this thread: they are
    // served while the splash shows.
    PauseDispatchingMessages(kStartupPauseMs);
    return TRUE;
}

int CMarnell2App::ExitInstance() {
    CConfigFileWatch::Instance().Stop();
    CForegroundExclusion::Instance().Stop();
    CKeyboardHookThread::Instance().Stop();
    return CWinApp::ExitInstance();
}

void CMarnell2App::PauseDispatchingMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            CWinThread* app = AfxGetApp();
            if (!app || !app->PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

void CMarnell2App::OnLanguageEnglish() { SwitchLanguage("en", IDD_CONFIG_ENGLISH); }

void CMarnell2App::OnLanguageCymraeg() { SwitchLanguage("cy", IDD_CONFIG_CYMRAEG); }

void CMarnell2App::SwitchLanguage(const char* code, UINT nIDTemplate) {
    if (!m_pConfigDlg) return;
    const bool wasEnabled = m_pConfigDlg->m_bEnabled;
    if (m_strLanguage == code) return;

    m_pConfigDlg->m_trayIcon.DeleteTrayIcon();
    m_pConfigDlg->ReleaseToggleHotKey();
    HHOOK handedOver = nullptr;
    if (m_pConfigDlg->m_bEnabled) handedOver = m_pConfigDlg->HandOverHook();
    m_pConfigDlg->ShowWindow(SW_MINIMIZE);
    m_pConfigDlg->ShowWindow(SW_HIDE);

    // The replaced dialog stays alive: it owns the new one.
    auto* dialog = new CMarnell2Dlg(nullptr);
    dialog->m_strLanguage = code;
    dialog->m_hKeyboardHook = handedOver;  // replaced by the new dialog's own as it enables
    dialog->Create(nIDTemplate, nullptr);
    dialog->ShowWindow(SW_HIDE);
    // Off when it was off, and when the new dialog could not enable (the
    // handed-over hook, still installed then, goes too).
    if (!wasEnabled || !dialog->m_bEnabled) dialog->DisableTranslation();

    m_pMainWnd = dialog;
    m_pConfigDlg = dialog;
    m_strLanguage = code;
    WriteProfileString(kSettingsSection, kLanguageEntry, code);
}
