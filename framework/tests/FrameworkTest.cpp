#include <gtest/gtest.h>

#include <string>

#include "Framework.h"

namespace {

class TestApp : public CWinApp {
public:
    int appCommands = 0;
    void OnAppCommand() { ++appCommands; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(0x8001, &TestApp::OnAppCommand)
    ON_COMMAND(0x100, &TestApp::OnAppCommand)
END_MESSAGE_MAP()
TestApp theApp;

class BaseWnd : public CWnd {
public:
    std::string log;
    void OnFirst() { log += "base1;"; }
    void OnBaseOnly() { log += "base2;"; }
    LRESULT OnUser(WPARAM, LPARAM) { log += "baseuser;"; return 7; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
    ON_COMMAND(10, &BaseWnd::OnFirst)
    ON_COMMAND(11, &BaseWnd::OnBaseOnly)
    ON_MESSAGE(WM_USER, &BaseWnd::OnUser)
END_MESSAGE_MAP()

class DerivedWnd : public BaseWnd {
public:
    void OnDerived() { log += "derived;"; }
    void OnSecond() { log += "second;"; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
    ON_COMMAND(10, &DerivedWnd::OnDerived)
    ON_COMMAND(10, &DerivedWnd::OnSecond)
END_MESSAGE_MAP()

HWND Create(CWnd& w, HWND owner) {
    const char* cls = AfxRegisterWndClass(0);
    EXPECT_NE(cls, nullptr);
    EXPECT_TRUE(w.CreateEx(0, cls, "t", WS_POPUP, 0, 0, 10, 10, owner, nullptr));
    return w.m_hWnd;
}

void Command(HWND h, UINT id) { ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

const UINT g_registered = ::RegisterWindowMessageW(L"MarnellFrameworkTest");

// A hidden window with a one-shot timer and posted, private and registered messages.
class WaitingWnd : public CWnd {
public:
    COneShotTimer wait{*this, 7};
    int fired = 0, posts = 0;
    void OnTimer(UINT_PTR nIDEvent) {
        if (wait.Fired(nIDEvent)) ++fired;
    }
    LRESULT OnPosted(WPARAM, LPARAM) { return ++posts; }
    LRESULT OnRegistered(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(WaitingWnd, CWnd)
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP + 1, &WaitingWnd::OnPosted)
    ON_REGISTERED_MESSAGE(g_registered, &WaitingWnd::OnRegistered)
END_MESSAGE_MAP()

void PumpFor(DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace

TEST(FrameworkTimer, AOneShotTimerFiresOnceAndOnlyWhileArmed) {
    WaitingWnd w;
    Create(w, nullptr);
    PumpFor(100);
    EXPECT_EQ(w.fired, 0);
    ASSERT_TRUE(w.wait.Arm(20));
    EXPECT_TRUE(w.wait.Arm(5000));  // armed already: still due after 20 ms
    PumpFor(400);
    EXPECT_EQ(w.fired, 1);
    EXPECT_FALSE(w.wait.IsArmed());
    w.wait.Arm(20);
    w.wait.Disarm();
    PumpFor(150);
    ::SendMessageW(w.m_hWnd, WM_TIMER, 7, 0);  // a stray tick while disarmed
    EXPECT_EQ(w.fired, 1);
}

TEST(FrameworkWindow, AMessageOnlyWindowReceivesItsMessagesAndGoesWithItsObject) {
    HWND h = nullptr;
    {
        WaitingWnd w;
        ASSERT_TRUE(w.CreateEx(0, AfxRegisterWndClass(0), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
        h = w.m_hWnd;
        EXPECT_NE(::GetAncestor(h, GA_PARENT), ::GetDesktopWindow());
        EXPECT_TRUE(::IsWindowUnicode(h));
        ::PostMessageW(h, WM_APP + 1, 0, 0);
        ::PostMessageW(h, WM_APP + 1, 0, 0);
        PumpFor(100);
        EXPECT_EQ(w.posts, 2);
        EXPECT_EQ(::SendMessageW(h, g_registered, 41, 0), 42);
    }
    EXPECT_FALSE(::IsWindow(h));
}

TEST(FrameworkMessageMap, MostDerivedFirstThenFirstEntryThenBase) {
    DerivedWnd w;
    HWND h = Create(w, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), &w);
    Command(h, 10);
    Command(h, 11);
    EXPECT_EQ(::SendMessageW(h, WM_USER, 0, 0), 7);
    EXPECT_EQ(w.log, "derived;base2;baseuser;");
    w.DestroyWindow();
    EXPECT_EQ(w.m_hWnd, nullptr);
}

TEST(FrameworkCommandRouting, OwnerChainThenApplicationOnlyForRoutedRange) {
    BaseWnd owner, child;
    HWND ho = Create(owner, nullptr);
    HWND hc = Create(child, ho);
    ASSERT_EQ(::GetWindow(hc, GW_OWNER), ho);
    theApp.appCommands = 0;
    ::SendMessageW(hc, WM_COMMAND, MAKEWPARAM(11, 0), 0);  // outside the range: not routed
    EXPECT_EQ(child.log, "base2;");
    EXPECT_EQ(owner.log, "");
    Command(hc, 0x8001);
    EXPECT_EQ(theApp.appCommands, 1);
    Command(hc, 0x100);
    EXPECT_EQ(theApp.appCommands, 1);
    child.DestroyWindow();
    owner.DestroyWindow();
}

TEST(FrameworkMainWindow, DestroyingItEndsTheLoopWithCodeZero) {
    CWnd w;
    Create(w, nullptr);
    theApp.m_pMainWnd = &w;
    EXPECT_EQ(AfxGetMainWnd(), &w);
    w.PostMessage(WM_CLOSE);  // DefWindowProc destroys it from inside the loop
    EXPECT_EQ(theApp.Run(), 0);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

namespace {
class Worker : public CWinThread {
    DECLARE_DYNCREATE(Worker)
public:
    static LONG exits;
    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override { ::InterlockedIncrement(&exits); return CWinThread::ExitInstance(); }
};
LONG Worker::exits = 0;
IMPLEMENT_DYNCREATE(Worker, CWinThread)
}  // namespace

TEST(FrameworkThread, SuspendedStartQuitEndsLoopAndAutoDeletes) {
    CWinThread* t = AfxBeginThread(RUNTIME_CLASS(Worker), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    HANDLE h = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), t->m_hThread, ::GetCurrentProcess(), &h, 0,
                                  FALSE, DUPLICATE_SAME_ACCESS));
    EXPECT_EQ(::WaitForSingleObject(h, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    const DWORD id = t->m_nThreadID;
    ::ResumeThread(t->m_hThread);
    // The queue exists only once the thread has run its first instruction.
    bool posted = false;
    for (int i = 0; i < 500 && !posted; ++i) {
        posted = ::PostThreadMessageW(id, WM_QUIT, 5, 0) != FALSE;
        if (!posted) ::Sleep(10);
    }
    ASSERT_TRUE(posted);
    ASSERT_EQ(::WaitForSingleObject(h, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    ::GetExitCodeThread(h, &code);
    EXPECT_EQ(code, 5u);
    EXPECT_EQ(Worker::exits, 1);
    ::CloseHandle(h);
}

TEST(FrameworkProfile, ExactKeyPathZeroTerminatedAndMissingReadsEmpty) {
    char company[64];
    wsprintfA(company, "MarnellFwTest%lu", ::GetCurrentProcessId());
    theApp.SetRegistryKey(company);
    EXPECT_EQ(theApp.GetProfileString("Settings", "Nothing"), "");
    EXPECT_EQ(theApp.GetProfileString("Settings", "Nothing", "d"), "d");
    const std::string path = std::string("Software\\") + company + "\\" + theApp.m_strAppName + "\\Settings";
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_TRUE(theApp.WriteProfileString("Settings", "Layout", "cy.txt"));
    DWORD type = 0, size = 0;
    ASSERT_EQ(::RegQueryValueExA(key, "Layout", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 7u);
    ::RegCloseKey(key);
    EXPECT_EQ(theApp.GetProfileString("Settings", "Layout"), "cy.txt");
    EXPECT_EQ(::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + company).c_str()), ERROR_SUCCESS);
}

TEST(FrameworkProfile, CharactersOutsideTheCodePageNeverReadAsLookAlikes) {
    char company[64];
    wsprintfA(company, "MarnellFwTest%lu", ::GetCurrentProcessId());
    theApp.SetRegistryKey(company);
    ASSERT_TRUE(theApp.WriteProfileString("Settings", "Language", "en"));
    const std::string path = std::string("Software\\") + company + "\\" + theApp.m_strAppName + "\\Settings";
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_WRITE, &key), ERROR_SUCCESS);
    const wchar_t stored[] = L"c\u0177";  // c with a circumflex on the y, stored by hand
    ASSERT_EQ(::RegSetValueExW(key, L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored), sizeof stored),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    const std::string read = theApp.GetProfileString("Settings", "Language");
    EXPECT_NE(read, "cy");
    EXPECT_EQ(read.size(), 2u);
    EXPECT_EQ(::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + company).c_str()), ERROR_SUCCESS);
}

