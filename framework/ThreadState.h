#pragma once
// The CWinThread object whose message loop runs on the calling thread: the
// application object on the main thread, the AfxBeginThread object elsewhere.

class CWinThread;

CWinThread* AfxGetThread();
void AfxSetThread(CWinThread* pThread);
