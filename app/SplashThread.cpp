#include "SplashThread.h"

#include "SplashWnd.h"

IMPLEMENT_DYNCREATE(CSplashThread, CWinThread)

BEGIN_MESSAGE_MAP(CSplashThread, CWinThread)
END_MESSAGE_MAP()

CSplashThread::CSplashThread() : m_pSplashWnd(nullptr) {}

CSplashThread::~CSplashThread() = default;

BOOL CSplashThread::InitInstance() {
    m_pSplashWnd = new CSplashWnd;
    if (m_pSplashWnd->GetSafeHwnd()) m_pSplashWnd->ShowWindow(SW_SHOW);
    return TRUE;
}

int CSplashThread::ExitInstance() {
    if (m_pSplashWnd) {
        if (m_pSplashWnd->GetSafeHwnd()) m_pSplashWnd->DestroyWindow();
        delete m_pSplashWnd;
        m_pSplashWnd = nullptr;
    }
    return CWinThread::ExitInstance();
}
