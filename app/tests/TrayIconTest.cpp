// The tray icon under Wine: real windows and messages; only the shell call is
// replaced, because plain Wine has no notification area.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "SystemTray.h"
#include "TrayTestMenus.h"
#include "TrayTestSupport.h"
#include "resource.h"

namespace {

// The ellipsis as the ANSI code page (1252) gives it to GetMenuItemInfoA.
const std::vector<std::string> kEnglishTexts = {"Characters\x85",
                                                "Show characters while the keys are held",
                                                "",
                                                "Enabled",
                                                "",
                                                "About Marnell",
                                                "",
                                                "English",
                                                "Cymraeg",
                                                "",
                                                "Exit"};
const std::vector<std::string> kWelshTexts = {"Nodau\x85", "Dangos y nodau wrth ddal y bysellau",
                                              "",          "Galluogi",
                                              "",          "Ynghylch Marnell",
                                              "",          "English",
                                              "Cymraeg",   "",
                                              "Gadael"};
const std::vector<UINT> kMenuIds = {
    ID_TRAY_CHARACTERS,  ID_TRAY_SHOW_CHARACTERS, 0, ID_TRAY_ENABLED, 0, ID_TRAY_ABOUT, 0,
    ID_LANGUAGE_ENGLISH, ID_LANGUAGE_CYMRAEG,     0, ID_TRAY_EXIT};

HICON TrayIconImage() { return ::LoadIconA(::GetModuleHandleW(nullptr), MAKEINTRESOURCEA(IDI_TRAY)); }

// A tray icon with a main window that records the commands it receives.
class TrayCallback : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp().m_pMainWnd = &mainWnd;
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", TrayIconImage(), IDR_TRAY_MENU_ENGLISH));
    }
    void TearDown() override { TestApp().m_pMainWnd = nullptr; }

    LRESULT Callback(WPARAM wParam, LPARAM lParam) { return ::SendMessageW(tray.m_hWnd, WM_TRAY_NOTIFY, wParam, lParam); }

    ShellRecorder shell;
    CCommandRecorder mainWnd;
    CSystemTray tray;
};

TEST_F(TrayCallback, OnlyTheIconsOwnIdInAll32BitsIsAnswered) {
    PopupMenuDriver menus;
    tray.SetDefaultTrayItem(5, TRUE);
    for (WPARAM other : {WPARAM(IDR_TRAY_MENU_ENGLISH | 0x10000), WPARAM(IDR_TRAY_MENU_ENGLISH | 0x80000000u),
                         WPARAM(IDR_TRAY_MENU_CYMRAEG), WPARAM(0), WPARAM(0xFFFFFFFFu)}) {
        EXPECT_EQ(Callback(other, WM_LBUTTONDBLCLK), 0) << other;
        EXPECT_EQ(Callback(other, WM_RBUTTONUP), 0) << other;
        EXPECT_EQ(Callback(other, WM_MOUSEMOVE), 0) << other;
    }
    PumpPendingMessages();
    EXPECT_TRUE(mainWnd.commands.empty());
    EXPECT_TRUE(menus.seen.empty());

    EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(mainWnd.commands, std::vector<WPARAM>{ID_TRAY_ABOUT});
}

TEST_F(TrayCallback, DoubleClickSendsTheDefaultEntrysCommandBeforeReturning) {
    struct Case {
        UINT item;
        BOOL byPosition;
        WPARAM expected;
    };
    const Case cases[] = {
        {11, TRUE, ID_SHOW_CONFIG},  // what the dialog names: past the menu's end
        {0, TRUE, ID_TRAY_CHARACTERS}, {3, TRUE, ID_TRAY_ENABLED},          {5, TRUE, ID_TRAY_ABOUT},
        {10, TRUE, ID_TRAY_EXIT},      {2, TRUE, ID_SHOW_CONFIG},  // a separator names no command
        {11, TRUE, ID_SHOW_CONFIG},    {ID_TRAY_EXIT, FALSE, ID_TRAY_EXIT}, {12345, FALSE, 12345},
    };
    for (const Case& c : cases) {
        mainWnd.commands.clear();
        tray.SetDefaultTrayItem(c.item, c.byPosition);
        // No pumping: the command must have been handled when the callback returns.
        EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, WM_LBUTTONDBLCLK), 1);
        EXPECT_EQ(mainWnd.commands, std::vector<WPARAM>{c.expected}) << c.item << " " << c.byPosition;
    }
    mainWnd.commands.clear();
    EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, static_cast<LPARAM>(0xFFFF0000u | WM_LBUTTONDBLCLK)), 1);
    EXPECT_EQ(mainWnd.commands, std::vector<WPARAM>{12345});
}

TEST_F(TrayCallback, EveryOtherMouseMessageReturnsOneAndDoesNothing) {
    PopupMenuDriver menus;
    tray.SetDefaultTrayItem(0, TRUE);
    std::vector<LPARAM> others;
    for (UINT m = WM_MOUSEFIRST; m <= WM_MOUSELAST; ++m)
        if (m != WM_RBUTTONUP && m != WM_LBUTTONDBLCLK) others.push_back(static_cast<LPARAM>(m));
    // the shell's newer notifications, nothing, and the two acted-on codes in the high word only
    for (LPARAM l : {LPARAM(WM_USER), LPARAM(WM_USER + 1), LPARAM(0), LPARAM(0xFFFF),
                     LPARAM(WM_RBUTTONUP << 16), LPARAM(WM_LBUTTONDBLCLK << 16)})
        others.push_back(l);
    for (LPARAM l : others) EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, l), 1) << std::hex << l;
    PumpPendingMessages();
    EXPECT_TRUE(mainWnd.commands.empty());
    EXPECT_TRUE(menus.seen.empty());
    EXPECT_EQ(shell.calls.size(), 1u);  // only the add
}

TEST_F(TrayCallback, WithoutAMainWindowNothingHappens) {
    PopupMenuDriver menus;
    tray.SetDefaultTrayItem(ID_TRAY_EXIT, FALSE);
    TestApp().m_pMainWnd = nullptr;
    EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, WM_RBUTTONUP), 0);
    CWnd windowless;
    TestApp().m_pMainWnd = &windowless;
    EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, WM_RBUTTONUP), 0);
    TestApp().m_pMainWnd = nullptr;
    PumpPendingMessages();
    EXPECT_TRUE(mainWnd.commands.empty());
    EXPECT_TRUE(menus.seen.empty());
}

TEST_F(TrayCallback, ChosenMenuEntryReachesTheMainWindow) {
    for (int downs : {4, 7}) {  // About, below Enabled; then past the separators to Exit
        mainWnd.commands.clear();
        PopupMenuDriver menus(downs);
        EXPECT_EQ(Callback(IDR_TRAY_MENU_ENGLISH, WM_RBUTTONUP), 1);
        PumpPendingMessages();
        ASSERT_EQ(menus.seen.size(), 1u);
        EXPECT_EQ(mainWnd.commands, std::vector<WPARAM>{downs == 4 ? WPARAM(ID_TRAY_ABOUT) : WPARAM(ID_TRAY_EXIT)});
    }
}

TEST_F(TrayCallback, AnyWParamAndLParamLeaveTheIconAsItWas) {
    PopupMenuDriver menus;  // closes whatever opens
    const NOTIFYICONDATAA before = tray.m_iconData;
    const HWND hidden = tray.m_hWnd;
    const WPARAM ids[] = {0, 1, IDR_TRAY_MENU_ENGLISH, IDR_TRAY_MENU_ENGLISH | 0x10000, 0x7FFFFFFF, 0xFFFFFFFFu};
    const LPARAM codes[] = {0, 1, 0x200, 0x201, 0x202, 0x203, 0x204, 0x205, 0x209, 0x400, 0xFFFF,
                            static_cast<LPARAM>(0x12340203), static_cast<LPARAM>(0xFFFF0205u), 0x7FFFFFFF,
                            static_cast<LPARAM>(0xFFFFFFFFu)};
    for (WPARAM w : ids) {
        for (LPARAM l : codes) {
            const LRESULT r = Callback(w, l);
            EXPECT_TRUE(r == 0 || r == 1) << w << " " << l;
            PumpPendingMessages();
        }
    }
    EXPECT_TRUE(::IsWindow(hidden));
    EXPECT_EQ(tray.m_hWnd, hidden);
    EXPECT_TRUE(tray.m_bIconAdded);
    EXPECT_EQ(std::memcmp(&before, &tray.m_iconData, sizeof(before)), 0);
    EXPECT_EQ(tray.m_nDefaultItem, 0u);  // as constructed: nothing set it
    EXPECT_TRUE(tray.m_bDefaultByPosition);
    EXPECT_EQ(shell.calls.size(), 1u);
    // Right-button-up with the icon's id, whatever the high bits: 0x205 and 0xFFFF0205.
    EXPECT_EQ(menus.seen.size(), 2u);
}

// The menu a right-click shows is loaded afresh from the resource the icon's id
// names, so its texts and check mark are the resource's own.
struct LanguageMenu {
    UINT id;
    const std::vector<std::string>* texts;
    size_t checkedAt;
};

class TrayMenu : public ::testing::TestWithParam<LanguageMenu> {};

TEST_P(TrayMenu, ShowsTheLanguagesEntriesWithItsCheckMark) {
    const LanguageMenu& lang = GetParam();
    ShellRecorder shell;
    CCommandRecorder mainWnd;
    TestApp().m_pMainWnd = &mainWnd;
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", TrayIconImage(), lang.id));
        tray.SetDefaultTrayItem(11, TRUE);
        PopupMenuDriver menus;
        EXPECT_EQ(::SendMessageW(tray.m_hWnd, WM_TRAY_NOTIFY, lang.id, WM_RBUTTONUP), 1);
        tray.SetDefaultTrayItem(5, TRUE);
        EXPECT_EQ(::SendMessageW(tray.m_hWnd, WM_TRAY_NOTIFY, lang.id, static_cast<LPARAM>(0x7FFF0000 | WM_RBUTTONUP)), 1);
        PumpPendingMessages();
        ASSERT_EQ(menus.seen.size(), 2u);
        for (const SeenMenu& seen : menus.seen) {
            EXPECT_EQ(seen.texts, *lang.texts);
            EXPECT_EQ(seen.ids, kMenuIds);
            for (size_t i = 0; i < seen.checked.size(); ++i) EXPECT_EQ(seen.checked[i], i == lang.checkedAt) << i;
        }
        EXPECT_EQ(menus.seen[0].defaultPosition, static_cast<UINT>(-1));  // position 11 names no entry
        EXPECT_EQ(menus.seen[1].defaultPosition, 5u);
        EXPECT_TRUE(mainWnd.commands.empty());  // closed with Escape
    }
    TestApp().m_pMainWnd = nullptr;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, TrayMenu,
                         ::testing::Values(LanguageMenu{IDR_TRAY_MENU_ENGLISH, &kEnglishTexts, 7},
                                           LanguageMenu{IDR_TRAY_MENU_CYMRAEG, &kWelshTexts, 8}));

TEST(TrayMenuResource, OnlyTheLow16BitsOfTheIdNameTheMenu) {
    ShellRecorder shell;
    CCommandRecorder mainWnd;
    TestApp().m_pMainWnd = &mainWnd;
    {
        const UINT id = 0x10000u | IDR_TRAY_MENU_CYMRAEG;
        CSystemTray tray;
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, id));
        PopupMenuDriver menus;
        EXPECT_EQ(::SendMessageW(tray.m_hWnd, WM_TRAY_NOTIFY, id, WM_RBUTTONUP), 1);
        ASSERT_EQ(menus.seen.size(), 1u);
        EXPECT_EQ(menus.seen[0].texts, kWelshTexts);
    }
    TestApp().m_pMainWnd = nullptr;
}

TEST(TrayMenuResource, MissingOrEmptyMenuShowsNothingAndSendsNothing) {
    ShellRecorder shell;
    CCommandRecorder mainWnd;
    TestApp().m_pMainWnd = &mainWnd;
    for (UINT id : {IDR_TEST_MENU_MISSING, IDR_TEST_MENU_WITHOUT_POPUP, IDR_TEST_MENU_EMPTY}) {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, id));
        EXPECT_FALSE(tray.SetDefaultTrayItem(2, TRUE)) << id;
        PopupMenuDriver menus;
        EXPECT_EQ(::SendMessageW(tray.m_hWnd, WM_TRAY_NOTIFY, id, WM_RBUTTONUP), 0) << id;
        EXPECT_EQ(::SendMessageW(tray.m_hWnd, WM_TRAY_NOTIFY, id, WM_LBUTTONDBLCLK), 0) << id;
        PumpPendingMessages();
        EXPECT_TRUE(menus.seen.empty()) << id;
        EXPECT_TRUE(mainWnd.commands.empty()) << id;
        EXPECT_TRUE(::IsWindow(tray.m_hWnd));
        EXPECT_TRUE(tray.m_bIconAdded);
    }
    TestApp().m_pMainWnd = nullptr;
}

TEST(TrayDefaultItem, UnchangedValuesNeedNoMenuAndNewOnesAreKeptWhenItIsMissing) {
    ShellRecorder shell;
    CCommandRecorder mainWnd;
    TestApp().m_pMainWnd = &mainWnd;
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TEST_MENU_MISSING));
        // The values it was constructed with: TRUE although there is no menu to check.
        EXPECT_TRUE(tray.SetDefaultTrayItem(0, TRUE));
        EXPECT_FALSE(tray.SetDefaultTrayItem(ID_TRAY_ABOUT, FALSE));
        EXPECT_EQ(tray.m_nDefaultItem, UINT(ID_TRAY_ABOUT));
        EXPECT_FALSE(tray.m_bDefaultByPosition);
        EXPECT_TRUE(tray.SetDefaultTrayItem(ID_TRAY_ABOUT, FALSE));
        // A command identifier needs no menu: the double-click still sends it.
        EXPECT_EQ(::SendMessageW(tray.m_hWnd, WM_TRAY_NOTIFY, IDR_TEST_MENU_MISSING, WM_LBUTTONDBLCLK), 1);
        EXPECT_EQ(mainWnd.commands, std::vector<WPARAM>{ID_TRAY_ABOUT});
    }
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TRAY_MENU_ENGLISH));
        EXPECT_TRUE(tray.SetDefaultTrayItem(11, TRUE));
        EXPECT_TRUE(tray.SetDefaultTrayItem(11, FALSE));  // new values, and the menu exists
    }
    TestApp().m_pMainWnd = nullptr;
}

TEST(TrayLifecycle, AddSendsTheVersion2RecordWithOnlyItsSevenFields) {
    ShellRecorder shell;
    CSystemTray tray;
    const HICON icon = TrayIconImage();
    const std::string longTip(200, 'x');
    ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, longTip.c_str(), icon, IDR_TRAY_MENU_CYMRAEG));
    ASSERT_EQ(shell.calls.size(), 1u);
    const ShellRecorder::Call& add = shell.calls[0];
    EXPECT_EQ(add.message, DWORD(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, kTrayIconDataSize);
    EXPECT_EQ(add.data.hWnd, tray.m_hWnd);
    EXPECT_EQ(add.data.uID, UINT(IDR_TRAY_MENU_CYMRAEG));
    EXPECT_EQ(add.data.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.data.uCallbackMessage, UINT(WM_TRAY_NOTIFY));
    EXPECT_EQ(add.data.hIcon, icon);
    EXPECT_EQ(std::string(add.data.szTip), std::string(127, 'x'));  // cut to what the field holds
    const auto* bytes = reinterpret_cast<const unsigned char*>(&add.data);
    for (size_t i = offsetof(NOTIFYICONDATAA, dwState); i < kTrayIconDataSize; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;

    // The hidden window: never shown, 10 by 10 at the origin, untitled.
    RECT rect;
    ::GetWindowRect(tray.m_hWnd, &rect);
    EXPECT_FALSE(::IsWindowVisible(tray.m_hWnd));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right - rect.left, 10);
    EXPECT_EQ(rect.bottom - rect.top, 10);
    EXPECT_EQ(::GetWindowTextLengthA(tray.m_hWnd), 0);
}

TEST(TrayLifecycle, WindowsBeforeMajorVersion4GetNoWindowAndNoIcon) {
    ShellRecorder shell;
    struct Version {
        static DWORD WINAPI Three() { return 0x23F00A03; }  // 3.10, any build
        static DWORD WINAPI Four() { return 0x00000304; }   // 4.3: the minor byte must not count
    };
    {
        CSystemTray::s_pfnGetVersion = &Version::Three;
        CSystemTray tray;
        EXPECT_FALSE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TRAY_MENU_ENGLISH));
        EXPECT_EQ(tray.m_hWnd, nullptr);
        EXPECT_FALSE(tray.m_bIconAdded);
        EXPECT_TRUE(shell.calls.empty());
    }
    {
        CSystemTray::s_pfnGetVersion = &Version::Four;
        CSystemTray tray;
        EXPECT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TRAY_MENU_ENGLISH));
    }
    CSystemTray::s_pfnGetVersion = &GetVersion;
}

TEST(TrayLifecycle, DeleteSendsOneRemovalAndTheDestructorNoneMoreButEndsTheWindow) {
    ShellRecorder shell;
    HWND hidden = nullptr;
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TRAY_MENU_ENGLISH));
        hidden = tray.m_hWnd;
        tray.DeleteTrayIcon();
        tray.DeleteTrayIcon();
        EXPECT_TRUE(::IsWindow(hidden));  // the delete leaves the window
        EXPECT_FALSE(tray.m_bIconAdded);
    }
    EXPECT_FALSE(::IsWindow(hidden));
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[1].message, DWORD(NIM_DELETE));
    EXPECT_EQ(shell.calls[1].data.uFlags, 0u);
    EXPECT_EQ(shell.calls[1].data.uID, UINT(IDR_TRAY_MENU_ENGLISH));
    EXPECT_EQ(shell.calls[1].data.hWnd, hidden);

    shell.calls.clear();
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TRAY_MENU_ENGLISH));
        hidden = tray.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hidden));
    EXPECT_EQ(shell.Count(NIM_DELETE), 1);  // a shown icon goes with the object
}

TEST(TrayLifecycle, RefusedAddKeepsTheWindowAndNeverSendsADelete) {
    ShellRecorder shell(FALSE);
    HWND hidden = nullptr;
    {
        CSystemTray tray;
        EXPECT_FALSE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TRAY_MENU_ENGLISH));
        EXPECT_FALSE(tray.m_bIconAdded);
        hidden = tray.m_hWnd;
        EXPECT_TRUE(::IsWindow(hidden));
        tray.DeleteTrayIcon();
    }
    EXPECT_FALSE(::IsWindow(hidden));
    EXPECT_EQ(shell.Count(NIM_DELETE), 0);
}

// A restarted shell broadcasts "TaskbarCreated" to every top-level window.
TEST(TrayLifecycle, NewTaskbarGetsTheSameIconBackOnlyWhileItIsAdded) {
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    ShellRecorder shell;
    CSystemTray tray;
    ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", TrayIconImage(), IDR_TRAY_MENU_ENGLISH));
    ::SendMessageTimeoutW(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_NORMAL, 2000, nullptr);
    PumpPendingMessages();
    ASSERT_EQ(shell.Count(NIM_ADD), 2);
    EXPECT_EQ(std::memcmp(&shell.calls[0].data, &shell.calls[1].data, sizeof(NOTIFYICONDATAA)), 0);
    EXPECT_TRUE(tray.m_bIconAdded);

    tray.DeleteTrayIcon();
    ::SendMessageW(tray.m_hWnd, taskbarCreated, 0, 0);
    EXPECT_EQ(shell.Count(NIM_ADD), 2);
}

TEST(TrayLifecycle, NewTaskbarTakesTheIconThatWasRefusedButNotOneDeleted) {
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    ShellRecorder shell(FALSE);
    CSystemTray refused;
    EXPECT_FALSE(refused.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TRAY_MENU_ENGLISH));
    ::SendMessageW(refused.m_hWnd, taskbarCreated, 0, 0);  // still not ready
    EXPECT_FALSE(refused.m_bIconAdded);
    shell.addResult = TRUE;
    ::SendMessageW(refused.m_hWnd, taskbarCreated, 0, 0);
    ASSERT_EQ(shell.Count(NIM_ADD), 3);
    EXPECT_EQ(std::memcmp(&shell.calls[0].data, &shell.calls[2].data, sizeof(NOTIFYICONDATAA)), 0);
    EXPECT_TRUE(refused.m_bIconAdded);

    // Deleted while refused (a language switch): never added again.
    CSystemTray deleted;
    shell.addResult = FALSE;
    EXPECT_FALSE(deleted.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, IDR_TRAY_MENU_ENGLISH));
    deleted.DeleteTrayIcon();
    shell.addResult = TRUE;
    ::SendMessageW(deleted.m_hWnd, taskbarCreated, 0, 0);
    EXPECT_EQ(shell.Count(NIM_ADD), 4);
    EXPECT_EQ(shell.Count(NIM_DELETE), 0);
}

// A shell that restarts or becomes ready without the broadcast (Wine's need
// not send it): the next change of the icon's state brings the icon back.
TEST(TrayLifecycle, AShellThatLostTheIconSilentlyTakesItAtTheNextChange) {
    ShellRecorder shell;
    CSystemTray tray;
    ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", TrayIconImage(), IDR_TRAY_MENU_ENGLISH));
    shell.modifyResult = FALSE;
    EXPECT_TRUE(tray.SetTrayIcon(TrayIconImage(), "Marnell (off)"));
    ASSERT_EQ(shell.Count(NIM_ADD), 2);
    const NOTIFYICONDATAA& added = shell.calls.back().data;
    EXPECT_EQ(added.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_STREQ(added.szTip, "Marnell (off)");
    EXPECT_EQ(added.uCallbackMessage, UINT(WM_TRAY_NOTIFY));

    // Refused at start and never announced: taken at the next change too.
    shell.addResult = FALSE;
    CSystemTray refused;
    EXPECT_FALSE(refused.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", TrayIconImage(), IDR_TRAY_MENU_ENGLISH));
    shell.addResult = TRUE;
    EXPECT_TRUE(refused.SetTrayIcon(TrayIconImage(), "Marnell"));
    EXPECT_TRUE(refused.m_bIconAdded);
    // Deleted: never added again.
    const int adds = shell.Count(NIM_ADD);
    refused.DeleteTrayIcon();
    EXPECT_FALSE(refused.SetTrayIcon(TrayIconImage(), "Marnell"));
    EXPECT_EQ(shell.Count(NIM_ADD), adds);
}

}  // namespace

namespace {
std::vector<std::wstring> g_sentBalloons;
BOOL WINAPI RecordSentBalloon(DWORD message, PNOTIFYICONDATAW data) {
    if (message == NIM_MODIFY && (data->uFlags & NIF_INFO) != 0 && data->szInfo[0] != L'\0')
        g_sentBalloons.push_back(data->szInfo);
    return TRUE;
}
QUERY_USER_NOTIFICATION_STATE g_userState = QUNS_ACCEPTS_NOTIFICATIONS;
HRESULT WINAPI QueryUserState(QUERY_USER_NOTIFICATION_STATE* state) {
    *state = g_userState;
    return S_OK;
}
}  // namespace

// While the user presents (or is busy, or plays full screen) a balloon waits
// and the tooltip names it; a second one replaces it; when the user may be
// interrupted again, only the last comes, and the tooltip is the icon's own.
TEST_F(TrayCallback, ABalloonWaitsWhileTheUserPresentsAndTheLastOneComes) {
    g_sentBalloons.clear();
    CSystemTray::s_pfnNotifyIconW = &RecordSentBalloon;
    CSystemTray::s_pfnQueryUserState = &QueryUserState;
    for (const QUERY_USER_NOTIFICATION_STATE busy : {QUNS_PRESENTATION_MODE, QUNS_BUSY, QUNS_RUNNING_D3D_FULL_SCREEN}) {
        g_userState = busy;
        EXPECT_TRUE(tray.ShowBalloon("First", "one", CSystemTray::Balloon::Notice));
        EXPECT_TRUE(tray.ShowBalloon("Second", "two", CSystemTray::Balloon::Warning));
        EXPECT_TRUE(g_sentBalloons.empty());
        EXPECT_STREQ(shell.calls.back().data.szTip, "Marnell: Second");
        ::SendMessageW(tray.m_hWnd, WM_TIMER, 1, 0);  // asked again: still busy
        EXPECT_TRUE(g_sentBalloons.empty());
        g_userState = QUNS_ACCEPTS_NOTIFICATIONS;
        ::SendMessageW(tray.m_hWnd, WM_TIMER, 1, 0);
        EXPECT_EQ(g_sentBalloons, std::vector<std::wstring>{L"two"});
        EXPECT_STREQ(shell.calls.back().data.szTip, "Marnell");
        g_sentBalloons.clear();
    }
    EXPECT_TRUE(tray.ShowBalloon("Now", "three", CSystemTray::Balloon::Notice));
    EXPECT_EQ(g_sentBalloons, std::vector<std::wstring>{L"three"});
    CSystemTray::s_pfnQueryUserState = nullptr;
    CSystemTray::s_pfnNotifyIconW = &Shell_NotifyIconW;
}
