#include "SplashClass.h"

#include "SplashThread.h"

IMPLEMENT_DYNAMIC(CSplashClass, CObject)

CSplashClass::CSplashClass()
    : m_pThread(AfxBeginThread(RUNTIME_CLASS(CSplashThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED,
                               nullptr)) {
    // Without a thread, start-up simply goes on without the splash.
    if (!m_pThread) return;
    m_pThread->m_bAutoDelete = TRUE;
    ResumeThread(m_pThread->m_hThread);
}

CSplashClass::~CSplashClass() {
    if (m_pThread) PostThreadMessageA(m_pThread->m_nThreadID, WM_QUIT, 0, 0);
}
