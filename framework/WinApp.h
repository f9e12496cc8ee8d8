#pragma once
// CWinApp: the application object, the program's main thread. Exactly one
// global object derives from it; the framework's WinMain calls its InitInstance
// and, when that returns TRUE, its message loop, which ends when the main window
// is destroyed. The process exit code is the WM_QUIT code.
//
// The profile functions keep settings in the registry once SetRegistryKey has
// named the company: HKEY_CURRENT_USER\Software\<company>\<application>\<section>,
// where <application> is the executable's file name without folder and extension.

#include <string>

#include "WinThread.h"

// The framework's standard help command.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    std::string m_strAppName;      // the executable's name without its extension
    std::string m_strRegistryKey;  // empty until SetRegistryKey
    std::string m_strProfileName;

    BOOL InitInstance() override;

    void SetRegistryKey(const char* lpszRegistryKey);
    // The stored string, or lpszDefault ("" when nullptr) when nothing is stored.
    std::string GetProfileString(const char* lpszSection, const char* lpszEntry,
                                 const char* lpszDefault = nullptr);
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue);
    // A stored REG_DWORD, or nDefault when none (or another type) is stored.
    UINT GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault);
    BOOL WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue);

    // ID_HELP. This framework has no help system, so the command is accepted and does nothing.
    void OnHelp();

    DECLARE_MESSAGE_MAP()
};

// The framework's WinMain: InitInstance, then, when it returns TRUE, Run.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// No ActiveX controls exist in this program; kept so start-up reads as designed.
void AfxEnableControlContainer();
// Registers (once per distinct set of arguments) a window class whose procedure
// is AfxWndProc and returns its name.
const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
