#pragma once

#include "Framework.h"

class CSplashWnd;

// The splash window's own user-interface thread, so the splash keeps painting
// while the main thread is busy. Only WM_QUIT ends it.
class CSplashThread : public CWinThread {
    DECLARE_DYNCREATE(CSplashThread)
public:
    CSplashThread();
    ~CSplashThread() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    CSplashWnd* m_pSplashWnd;  // owned

protected:
    DECLARE_MESSAGE_MAP()
};
