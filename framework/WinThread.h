#pragma once
// CWinThread: a thread with a message loop. AfxBeginThread creates the object
// from its run-time class and starts the thread, which runs InitInstance, then,
// when that returns TRUE, the message loop until WM_QUIT, then ExitInstance;
// with m_bAutoDelete set the object deletes itself as the thread ends.

#include <windows.h>

#include "MessageMap.h"

class CWnd;

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();

    CWnd* m_pMainWnd;     // the thread's main window; its destruction ends the loop
    BOOL m_bAutoDelete;   // delete this object when the thread ends
    HANDLE m_hThread;
    DWORD m_nThreadID;

    virtual BOOL InitInstance();
    virtual int Run();           // the message loop; returns ExitInstance()
    virtual int ExitInstance();  // returns the WM_QUIT code

    // Lets dialogs of this thread see their keyboard messages (Enter, Esc, Tab).
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    MSG m_msgCur;

    DECLARE_MESSAGE_MAP()
};

// Creates a pThreadClass object and its thread. With CREATE_SUSPENDED in
// dwCreateFlags the thread waits for ResumeThread(m_hThread). nullptr when
// either cannot be created.
CWinThread* AfxBeginThread(const CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
