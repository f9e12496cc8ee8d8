#include <gtest/gtest.h>

#include <string>

#include "Framework.h"
#include "TestDialogs.h"

namespace {

// Everything the handlers of this file see happen, in order.
std::string g_log;

// Commands in the routed range that only the application object handles, and
// ones that an owner handles too (the owner must win).
const UINT kAppOnly = 0x8001;
const UINT kOldestAndApp = 0x8200;
const UINT kMiddleAndOldest = 0x8300;
const UINT kBelowRange = 0x7FFF;
const UINT kAboveRange = 0xF000;

class DialogTestApp : public CWinApp {
public:
    void OnApp() { g_log += "app;"; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DialogTestApp, CWinApp)
    ON_COMMAND(kAppOnly, &DialogTestApp::OnApp)
    ON_COMMAND(kOldestAndApp, &DialogTestApp::OnApp)
    ON_COMMAND(kBelowRange, &DialogTestApp::OnApp)
    ON_COMMAND(kAboveRange, &DialogTestApp::OnApp)
END_MESSAGE_MAP()
DialogTestApp theApp;

const int kTimedOut = 99;

void CALLBACK QuitAfterTimeout(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(kTimedOut); }

// The framework's message loop, ended by WM_QUIT or after timeoutMs with kTimedOut.
int RunLoop(UINT timeoutMs) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, timeoutMs, &QuitAfterTimeout);
    const int code = theApp.Run();
    ::KillTimer(nullptr, timer);
    return code;
}

// Logs OnOK and OnCancel and then lets CDialog act as it would; with quitOnEnd set
// it also ends the framework's message loop, so a test can run the loop until
// the dialog has answered.
class LoggingDialog : public CDialog {
public:
    LoggingDialog() : CDialog(IDD_TEST_DIALOG) {}
    bool initialised = false;
    bool quitOnEnd = false;
    BOOL OnInitDialog() override {
        initialised = true;
        return CDialog::OnInitDialog();
    }

protected:
    void OnOK() override {
        g_log += "ok;";
        CDialog::OnOK();
        if (quitOnEnd) ::PostQuitMessage(0);
    }
    void OnCancel() override {
        g_log += "cancel;";
        CDialog::OnCancel();
        if (quitOnEnd) ::PostQuitMessage(0);
    }
};

// The main window is the owner of dialogs created without a parent; leaving it
// set would also make its destruction post WM_QUIT into the next test.
class MainWindowScope {
public:
    explicit MainWindowScope(CWnd* pWnd) { theApp.m_pMainWnd = pWnd; }
    ~MainWindowScope() { theApp.m_pMainWnd = nullptr; }
    MainWindowScope(const MainWindowScope&) = delete;
    MainWindowScope& operator=(const MainWindowScope&) = delete;
};

// The dialog manager posts the IDCANCEL that answers WM_CLOSE.
void DispatchPending() {
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

HWND Edit(const CWnd& dlg) { return ::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT); }

}  // namespace

TEST(FrameworkDialogOwner, NoParentMeansTheCurrentMainWindowAParentWinsOverIt) {
    LoggingDialog unowned;
    ASSERT_TRUE(unowned.Create(IDD_TEST_DIALOG));
    EXPECT_TRUE(unowned.initialised);  // OnInitDialog has run when Create returns
    EXPECT_EQ(CWnd::FromHandlePermanent(unowned.m_hWnd), &unowned);
    EXPECT_EQ(::GetWindow(unowned.m_hWnd, GW_OWNER), nullptr);

    LoggingDialog mainDialog;
    ASSERT_TRUE(mainDialog.Create(IDD_TEST_DIALOG));
    MainWindowScope scope(&mainDialog);
    LoggingDialog owned;
    ASSERT_TRUE(owned.Create(IDD_TEST_DIALOG));
    EXPECT_EQ(::GetWindow(owned.m_hWnd, GW_OWNER), mainDialog.m_hWnd);

    LoggingDialog parented;
    ASSERT_TRUE(parented.Create(IDD_TEST_DIALOG, &unowned));
    EXPECT_EQ(::GetWindow(parented.m_hWnd, GW_OWNER), unowned.m_hWnd);

    LoggingDialog missing;
    EXPECT_FALSE(missing.Create(IDD_TEST_MISSING));
    EXPECT_EQ(missing.m_hWnd, nullptr);
}

TEST(FrameworkModelessDialog, CloseCancelOkAndEndDialogHideItAndKeepIt) {
    LoggingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    const HWND h = dlg.m_hWnd;
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
        const char* expectedLog;
    };
    const Case cases[] = {
        {"WM_CLOSE", WM_CLOSE, 0, "cancel;"},
        {"IDCANCEL", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), "cancel;"},
        {"IDOK", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), "ok;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_log.clear();
        ::ShowWindow(h, SW_SHOW);
        ASSERT_TRUE(::IsWindowVisible(h));
        ::SendMessageW(h, c.message, c.wParam, 0);
        DispatchPending();
        EXPECT_EQ(g_log, c.expectedLog);
        EXPECT_TRUE(::IsWindow(h));
        EXPECT_FALSE(::IsWindowVisible(h));
        EXPECT_EQ(dlg.m_hWnd, h);
        EXPECT_EQ(CWnd::FromHandlePermanent(h), &dlg);
    }

    ::ShowWindow(h, SW_SHOW);
    dlg.EndDialog(IDOK);
    EXPECT_TRUE(::IsWindow(h));
    EXPECT_FALSE(::IsWindowVisible(h));
}

TEST(FrameworkModelessDialog, EnterAndEscTypedIntoItReachOnOKAndOnCancel) {
    // Real key strokes into the focused edit box: only the message loop's
    // dialog-message handling turns them into IDOK (the default button) and
    // IDCANCEL.
    struct Case {
        WORD key;
        const char* expectedLog;
    };
    for (const Case& c : {Case{VK_RETURN, "ok;"}, Case{VK_ESCAPE, "cancel;"}}) {
        SCOPED_TRACE(c.expectedLog);
        LoggingDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
        dlg.quitOnEnd = true;
        ::ShowWindow(dlg.m_hWnd, SW_SHOW);
        ::SetForegroundWindow(dlg.m_hWnd);
        ::SetFocus(Edit(dlg));
        DispatchPending();
        ASSERT_EQ(::GetForegroundWindow(), dlg.m_hWnd);
        ASSERT_EQ(::GetFocus(), Edit(dlg));
        g_log.clear();
        INPUT keys[2] = {};
        keys[0].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = c.key;
        keys[1] = keys[0];
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ASSERT_EQ(::SendInput(2, keys, sizeof(INPUT)), 2u);
        EXPECT_EQ(RunLoop(5000), 0);
        EXPECT_EQ(g_log, c.expectedLog);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
        EXPECT_FALSE(::IsWindowVisible(dlg.m_hWnd));
    }
}

namespace {

// Ends itself from inside its modal loop: OnInitDialog posts a request that
// arrives once DoModal's loop runs; a timer ends it with kTimedOut instead if
// the expected path never does.
class ModalDialog : public CDialog {
public:
    explicit ModalDialog(UINT nIDTemplate, CWnd* pParent = nullptr) : CDialog(nIDTemplate, pParent) {}
    int endWith = 0;           // EndDialog result for the posted request; 0: post Esc instead
    HWND ownerSeen = nullptr;  // the owner while the dialog ran
    BOOL OnInitDialog() override {
        ownerSeen = ::GetWindow(m_hWnd, GW_OWNER);
        ::SetTimer(m_hWnd, 1, 5000, nullptr);
        if (endWith != 0) {
            ::PostMessageW(m_hWnd, WM_APP, 0, 0);
        } else {
            ::PostMessageW(::GetDlgItem(m_hWnd, IDC_TEST_EDIT), WM_KEYDOWN, VK_ESCAPE, 1);
        }
        return CDialog::OnInitDialog();
    }
    LRESULT OnEndRequest(WPARAM, LPARAM) {
        EndDialog(endWith);
        return 0;
    }
    LRESULT OnTimer(WPARAM, LPARAM) {
        EndDialog(kTimedOut);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ModalDialog, CDialog)
    ON_MESSAGE(WM_APP, &ModalDialog::OnEndRequest)
    ON_MESSAGE(WM_TIMER, &ModalDialog::OnTimer)
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkModalDialog, DoModalReturnsTheEndDialogResultAndIsOwnedByTheMainWindow) {
    LoggingDialog mainDialog;
    ASSERT_TRUE(mainDialog.Create(IDD_TEST_DIALOG));
    MainWindowScope scope(&mainDialog);

    ModalDialog ended(IDD_TEST_DIALOG);
    ended.endWith = 42;
    EXPECT_EQ(ended.DoModal(), 42);
    EXPECT_EQ(ended.ownerSeen, mainDialog.m_hWnd);
    EXPECT_EQ(ended.m_hWnd, nullptr);  // the modal window is gone, the object detached
    EXPECT_TRUE(::IsWindowEnabled(mainDialog.m_hWnd));

    // Esc goes through the modal loop to OnCancel, whose EndDialog ends it.
    ModalDialog escaped(IDD_TEST_DIALOG);
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);

    ModalDialog missing(IDD_TEST_MISSING);
    EXPECT_EQ(missing.DoModal(), -1);

    // After a modal run the object can serve as a modeless dialog, whose
    // EndDialog hides rather than ends.
    ASSERT_TRUE(ended.Create(IDD_TEST_DIALOG));
    ::ShowWindow(ended.m_hWnd, SW_SHOW);
    ended.EndDialog(IDOK);
    EXPECT_TRUE(::IsWindow(ended.m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(ended.m_hWnd));
}

TEST(FrameworkModalDialog, ParentGivenToTheConstructorIsTheOwner) {
    LoggingDialog mainDialog, parent;
    ASSERT_TRUE(mainDialog.Create(IDD_TEST_DIALOG));
    ASSERT_TRUE(parent.Create(IDD_TEST_DIALOG));
    MainWindowScope scope(&mainDialog);
    ModalDialog dlg(IDD_TEST_DIALOG, &parent);
    dlg.endWith = 7;
    EXPECT_EQ(dlg.DoModal(), 7);
    EXPECT_EQ(dlg.ownerSeen, parent.m_hWnd);
}

TEST(FrameworkMainDialog, DestroyingTheMainDialogEndsTheLoopOtherDialogsDoNot) {
    LoggingDialog other, mainDialog;
    ASSERT_TRUE(other.Create(IDD_TEST_DIALOG));
    ASSERT_TRUE(mainDialog.Create(IDD_TEST_DIALOG));
    theApp.m_pMainWnd = &mainDialog;
    EXPECT_TRUE(other.DestroyWindow());
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    EXPECT_EQ(theApp.m_pMainWnd, &mainDialog);

    EXPECT_TRUE(mainDialog.DestroyWindow());
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(mainDialog.m_hWnd, nullptr);
    EXPECT_EQ(RunLoop(5000), 0);
}

namespace {

// A chain of dialogs as a language switch leaves it: each one created with no
// parent while the previous one was the main window.
class OldestDialog : public CDialog {
public:
    OldestDialog() : CDialog(IDD_TEST_DIALOG) {}
    void OnOldest() { g_log += "oldest;"; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(OldestDialog, CDialog)
    ON_COMMAND(0x8000, &OldestDialog::OnOldest)
    ON_COMMAND(0xEFFF, &OldestDialog::OnOldest)
    ON_COMMAND(kOldestAndApp, &OldestDialog::OnOldest)
    ON_COMMAND(kMiddleAndOldest, &OldestDialog::OnOldest)
    ON_COMMAND(kBelowRange, &OldestDialog::OnOldest)
    ON_COMMAND(kAboveRange, &OldestDialog::OnOldest)
END_MESSAGE_MAP()

class MiddleDialog : public CDialog {
public:
    MiddleDialog() : CDialog(IDD_TEST_DIALOG) {}
    void OnMiddle() { g_log += "middle;"; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MiddleDialog, CDialog)
    ON_COMMAND(kMiddleAndOldest, &MiddleDialog::OnMiddle)
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkDialogCommandRouting, UnhandledRoutedIdsGoToOwnersNearestFirstThenTheApp) {
    OldestDialog oldest;
    MiddleDialog middle;
    LoggingDialog newest;
    ASSERT_TRUE(oldest.Create(IDD_TEST_DIALOG));
    {
        MainWindowScope scope(&oldest);
        ASSERT_TRUE(middle.Create(IDD_TEST_DIALOG));
    }
    {
        MainWindowScope scope(&middle);
        ASSERT_TRUE(newest.Create(IDD_TEST_DIALOG));
    }
    ASSERT_EQ(::GetWindow(newest.m_hWnd, GW_OWNER), middle.m_hWnd);
    ASSERT_EQ(::GetWindow(middle.m_hWnd, GW_OWNER), oldest.m_hWnd);

    struct Case {
        UINT id;
        WORD code;
        const char* expectedLog;
    };
    const Case cases[] = {
        {kMiddleAndOldest, 0, "middle;"},  // the nearest owner, and only it
        {kOldestAndApp, 0, "oldest;"},     // the owner's owner before the app
        {kAppOnly, 0, "app;"},
        {kAppOnly, 1, "app;"},             // an accelerator is a command too
        {0x8000, 0, "oldest;"},            // both ends of the range are routed
        {0xEFFF, 0, "oldest;"},
        {kBelowRange, 0, ""},              // outside the range nobody else sees it
        {kAboveRange, 0, ""},
        {kAppOnly, EN_CHANGE, ""},         // a control notification is no command
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.id << " code " << c.code);
        g_log.clear();
        ::SendMessageW(newest.m_hWnd, WM_COMMAND, MAKEWPARAM(c.id, c.code), 0);
        EXPECT_EQ(g_log, c.expectedLog);
    }
    // The routed commands did not end or hide anybody on the way.
    EXPECT_TRUE(::IsWindow(newest.m_hWnd));
}
