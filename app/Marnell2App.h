#pragma once

#include <string>

#include "Framework.h"

class CMarnell2Dlg;

class CMarnell2App : public CWinApp {
public:
    CMarnell2App();
    ~CMarnell2App() override;

    BOOL InitInstance() override;
    // Ends the hook's thread before the process ends.
    int ExitInstance() override;

    void OnLanguageEnglish();
    void OnLanguageCymraeg();

    std::string m_strLanguage;    // as stored, until a language command sets "en" or "cy"
    CMarnell2Dlg* m_pConfigDlg;  // the current dialog; never deleted here
    HANDLE m_hRunningMutex = nullptr;  // held while this copy runs; released at exit

    // Keeps the splash up for this long while the tray and the witness are
    // served (the hook has a thread of its own).
    static constexpr DWORD kStartupPauseMs = 3000;

protected:
    void SwitchLanguage(const char* code, UINT nIDTemplate);
    // Dispatches messages until the pause is over; a WM_QUIT ends it early and
    // is posted again so the message loop ends with the same code.
    static void PauseDispatchingMessages(DWORD milliseconds);

    DECLARE_MESSAGE_MAP()
};
