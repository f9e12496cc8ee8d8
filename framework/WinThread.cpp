#include "WinThread.h"

#include "Dialog.h"
#include "ThreadState.h"

IMPLEMENT_DYNAMIC(CWinThread, CObject)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

namespace {

thread_local CWinThread* t_pThread = nullptr;

DWORD WINAPI ThreadEntry(LPVOID pParam) {
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    // The queue exists before anyone can see the thread running, so a
    // WM_QUIT posted with PostThreadMessage right after the start is kept.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    AfxSetThread(pThread);
    const int code = pThread->InitInstance() ? pThread->Run() : pThread->ExitInstance();
    AfxSetThread(nullptr);
    if (pThread->m_bAutoDelete) {
        ::CloseHandle(pThread->m_hThread);
        delete pThread;
    }
    return static_cast<DWORD>(code);
}

}  // namespace

CWinThread* AfxGetThread() { return t_pThread; }
void AfxSetThread(CWinThread* pThread) { t_pThread = pThread; }

CWinThread::CWinThread()
    : m_pMainWnd(nullptr), m_bAutoDelete(TRUE), m_hThread(nullptr), m_nThreadID(0), m_msgCur{} {}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run() {
    for (;;) {
        const BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (!PreTranslateMessage(&m_msgCur)) {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessageW(&m_msgCur);
        }
    }
    return ExitInstance();
}

int CWinThread::ExitInstance() {
    return m_msgCur.message == WM_QUIT ? static_cast<int>(m_msgCur.wParam) : 0;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || pMsg->hwnd == nullptr) {
        return FALSE;
    }
    HWND root = ::GetAncestor(pMsg->hwnd, GA_ROOT);
    CWnd* pWnd = CWnd::FromHandlePermanent(root);
    if (pWnd == nullptr) return FALSE;
    if (pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (!pWnd->IsKindOf(RUNTIME_CLASS(CDialog))) return FALSE;
    return ::IsDialogMessageW(root, pMsg);
}

CWinThread* AfxBeginThread(const CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (pThreadClass == nullptr || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) {
        return nullptr;
    }
    CObject* pObject = pThreadClass->CreateObject();
    if (pObject == nullptr) return nullptr;
    CWinThread* pThread = static_cast<CWinThread*>(pObject);
    pThread->m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &ThreadEntry, pThread,
                                        CREATE_SUSPENDED, &pThread->m_nThreadID);
    if (pThread->m_hThread == nullptr) {
        delete pThread;
        return nullptr;
    }
    ::SetThreadPriority(pThread->m_hThread, nPriority);
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0) ::ResumeThread(pThread->m_hThread);
    return pThread;
}
