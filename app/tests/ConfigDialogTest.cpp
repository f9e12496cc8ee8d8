// The configuration dialog under Wine: the real dialog from its template, its
// keys and buttons through the dialog manager, the real keyboard hook and the
// layout file in a working directory of its own. Only the shell calls are
// replaced: plain Wine has no notification area, and no browser may start.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "DisplayScale.h"
#include "FreedMemoryWatch.h"
#include "LayoutDirectory.h"
#include "LayoutFile.h"
#include "Marnell2Dlg.h"
#include "ProcessReach.h"
#include "TrayTestSupport.h"
#include "resource.h"

namespace {

const std::string kFirstLayout = LayoutText(165, 222, {"65;0;225;193;", "69;0;233;201;"});
const std::string kEditedLayout = LayoutText(163, 186, {"79;0;243;211;", "87;0;373;372;", "89;1;375;374;"});

struct OpenedPage {
    HWND hWnd;
    std::string operation;
    std::string file;
    bool noParameters;
    bool noDirectory;
    INT show;
};
std::vector<OpenedPage> g_openedPages;

HINSTANCE WINAPI RecordOpen(HWND hWnd, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
    g_openedPages.push_back({hWnd, op ? op : "", file ? file : "", params == nullptr, dir == nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

// The About box is the only dialog of this thread besides the configuration dialog.
HWND OpenAboutBox(HWND configDlg) {
    for (HWND hWnd : VisibleThreadWindows("#32770"))
        if (hWnd != configDlg) return hWnd;
    return nullptr;
}

int OpenAboutBoxCount(HWND configDlg) {
    int n = 0;
    for (HWND hWnd : VisibleThreadWindows("#32770")) n += hWnd != configDlg ? 1 : 0;
    return n;
}

// Runs `action` once, from a thread timer that the About box's own modal loop
// dispatches, as soon as the box is open. Should the box still be open long
// after that, it is ended so that a fault cannot hang the run.
class WhileAboutOpen {
public:
    WhileAboutOpen(HWND configDlg, std::function<void(HWND about)> action)
        : m_configDlg(configDlg), m_action(std::move(action)) {
        s_active = this;
        m_timer = ::SetTimer(nullptr, 0, 30, &WhileAboutOpen::OnTimer);
    }
    ~WhileAboutOpen() {
        ::KillTimer(nullptr, m_timer);
        s_active = nullptr;
    }
    WhileAboutOpen(const WhileAboutOpen&) = delete;
    WhileAboutOpen& operator=(const WhileAboutOpen&) = delete;

    bool ran = false;
    bool forcedClose = false;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        WhileAboutOpen* self = s_active;
        if (self == nullptr) return;
        HWND about = OpenAboutBox(self->m_configDlg);
        if (about == nullptr) return;
        if (!self->ran) {
            self->ran = true;
            self->m_action(about);
        } else if (++self->m_ticksSince > 100) {
            self->forcedClose = true;
            ::EndDialog(about, IDCANCEL);
        }
    }

    static WhileAboutOpen* s_active;
    HWND m_configDlg;
    std::function<void(HWND)> m_action;
    UINT_PTR m_timer;
    int m_ticksSince = 0;
};
WhileAboutOpen* WhileAboutOpen::s_active = nullptr;

// A configuration dialog created as start-up creates it: in a language, from
// that language's template, hidden at once, and made the main window.
class ConfigDialog : public ::testing::Test {
protected:
    void SetUp() override { Open("en"); }

    void Open(const std::string& language, bool firstOfRun = false) {
        g_openedPages.clear();
        CMarnell2Dlg::s_pfnShellExecute = &RecordOpen;
        TestApp().m_pMainWnd = nullptr;
        dlg = new CMarnell2Dlg;
        dlg->m_strLanguage = language;
        dlg->m_bMayWelcome = firstOfRun;
        ASSERT_TRUE(dlg->Create(language == "cy" ? IDD_CONFIG_CYMRAEG : IDD_CONFIG_ENGLISH));
        dlg->ShowWindow(SW_HIDE);
        TestApp().m_pMainWnd = dlg;
        hDlg = dlg->m_hWnd;
    }

    void TearDown() override {
        if (dlg != nullptr) {
            TestApp().m_pMainWnd = nullptr;
            delete dlg;
        }
        PumpPendingMessages();
        CMarnell2Dlg::s_pfnShellExecute = &ShellExecuteA;
        EndWatch();
    }

    void Command(UINT id) { ::SendMessageW(hDlg, WM_COMMAND, id, 0); }
    void Show() {
        Command(ID_SHOW_CONFIG);
        ASSERT_TRUE(::IsWindowVisible(hDlg));
    }
    HWND Control(int id) const { return ::GetDlgItem(hDlg, id); }
    bool Ticked() const { return ::IsDlgButtonChecked(hDlg, IDC_ENABLED) == BST_CHECKED; }
    void Click(int id) {
        ::SendMessageW(Control(id), BM_CLICK, 0, 0);
        PumpPendingMessages();
    }
    // A key pressed with the Enabled box focused, as the framework's loop sees it.
    void Press(WPARAM key) {
        ::SetFocus(Control(IDC_ENABLED));
        ::PostMessageW(Control(IDC_ENABLED), WM_KEYDOWN, key, 1);
        ::PostMessageW(Control(IDC_ENABLED), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        PumpPendingMessages();
    }
    static bool HookStillInstalled(HHOOK hook) {
        // Unhooking a hook that is gone fails; one that is still there is removed by this.
        return hook != nullptr && ::UnhookWindowsHookEx(hook) != FALSE;
    }

    LayoutDirectory layoutDir{kFirstLayout};
    ShellRecorder shell;
    CMarnell2Dlg* dlg = nullptr;
    HWND hDlg = nullptr;
};

TEST_F(ConfigDialog, StartsHiddenWithTranslationOnAndTheFilesTablesActive) {
    EXPECT_FALSE(::IsWindowVisible(hDlg));
    EXPECT_TRUE(dlg->m_bEnabled);
    EXPECT_NE(dlg->m_hKeyboardHook, nullptr);
    EXPECT_TRUE(Ticked());
    EXPECT_EQ(ActiveLayout().ActivationKeys, std::vector<int16_t>{165});
    EXPECT_EQ(ActiveLayout().KeyCodes, (std::vector<int16_t>{65, 69}));
}

TEST_F(ConfigDialog, ARefusedIconLeavesTranslationOnAndComesWithTheShell) {
    TestApp().m_pMainWnd = nullptr;
    delete dlg;
    dlg = nullptr;
    shell.addResult = FALSE;
    Open("cy");
    EXPECT_TRUE(dlg->m_bEnabled);
    EXPECT_NE(dlg->m_hKeyboardHook, nullptr);
    EXPECT_TRUE(Ticked());
    EXPECT_FALSE(dlg->m_trayIcon.m_bIconAdded);

    shell.addResult = TRUE;
    ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, 2000,
                          nullptr);
    PumpPendingMessages();
    EXPECT_TRUE(dlg->m_trayIcon.m_bIconAdded);
    ASSERT_FALSE(shell.calls.empty());
    EXPECT_EQ(shell.calls.back().message, DWORD(NIM_ADD));
    EXPECT_EQ(shell.calls.back().data.uID, UINT(IDR_TRAY_MENU_CYMRAEG));
}

// The tray menu's Enabled entry and the hotkey switch translation over as OK
// does; the entry's mark, the box, the icon and the tooltip follow, also after
// the shell restarts.
TEST_F(ConfigDialog, EnabledEntryAndHotKeySwitchTranslationAndTheIconFollows) {
    // The shell is handed the image the tray loaded from that resource.
    const UINT on = IDI_TRAY, off = IDI_TRAY_OFF;
    const auto isIcon = [this](HICON sent, UINT resource) {
        return dlg->m_trayIcon.m_nIconResource == resource && sent == dlg->m_trayIcon.m_hIconLoaded;
    };
    const auto markShown = [this] {
        PopupMenuDriver menus;  // reads the menu, then Escape
        ::SendMessageW(dlg->m_trayIcon.m_hWnd, WM_TRAY_NOTIFY, dlg->m_trayIcon.m_iconData.uID, WM_RBUTTONUP);
        PumpPendingMessages();
        return !menus.seen.empty() && menus.seen[0].ids[3] == ID_TRAY_ENABLED && menus.seen[0].checked[3];
    };
    const auto expectShown = [this, isIcon](UINT icon, const char* tip) {
        ASSERT_FALSE(shell.calls.empty());
        EXPECT_EQ(shell.calls.back().message, DWORD(NIM_MODIFY));
        EXPECT_TRUE(isIcon(shell.calls.back().data.hIcon, icon));
        EXPECT_STREQ(shell.calls.back().data.szTip, tip);
    };
    EXPECT_TRUE(markShown());

    {
        PopupMenuDriver menus(3);  // Enabled, below the two characters entries
        ::SendMessageW(dlg->m_trayIcon.m_hWnd, WM_TRAY_NOTIFY, dlg->m_trayIcon.m_iconData.uID, WM_RBUTTONUP);
        PumpPendingMessages();
    }
    EXPECT_FALSE(dlg->m_bEnabled);
    EXPECT_EQ(dlg->m_hKeyboardHook, nullptr);
    EXPECT_FALSE(Ticked());
    expectShown(off, "Marnell (off)");
    EXPECT_FALSE(markShown());

    // A restarted shell gets the paused look.
    ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, 2000,
                          nullptr);
    PumpPendingMessages();
    ASSERT_EQ(shell.calls.back().message, DWORD(NIM_ADD));
    EXPECT_TRUE(isIcon(shell.calls.back().data.hIcon, off));
    EXPECT_STREQ(shell.calls.back().data.szTip, "Marnell (off)");

    const size_t calls = shell.calls.size();
    ::SendMessageW(hDlg, WM_HOTKEY, CMarnell2Dlg::kToggleHotKeyId + 1, 0);
    EXPECT_FALSE(dlg->m_bEnabled) << "another hotkey";
    EXPECT_EQ(shell.calls.size(), calls);
    ::SendMessageW(hDlg, WM_HOTKEY, CMarnell2Dlg::kToggleHotKeyId, 0);
    EXPECT_TRUE(dlg->m_bEnabled);
    EXPECT_NE(dlg->m_hKeyboardHook, nullptr);
    EXPECT_TRUE(Ticked());
    expectShown(on, "Marnell");
    EXPECT_TRUE(markShown());
    ::SendMessageW(hDlg, WM_HOTKEY, CMarnell2Dlg::kToggleHotKeyId, 0);
    EXPECT_FALSE(dlg->m_bEnabled);

    TestApp().m_pMainWnd = nullptr;
    delete dlg;
    Open("cy");
    ::SendMessageW(hDlg, WM_COMMAND, ID_TRAY_ENABLED, 0);
    EXPECT_FALSE(dlg->m_bEnabled);
    expectShown(off, "Marnell (i ffwrdd)");
}

std::vector<NOTIFYICONDATAW> g_balloons;
BOOL WINAPI RecordBalloon(DWORD message, PNOTIFYICONDATAW data) {
    // An empty one only takes the balloon before away.
    if (message == NIM_MODIFY && (data->uFlags & NIF_INFO) != 0 && data->szInfo[0] != L'\0')
        g_balloons.push_back(*data);
    return TRUE;
}

// Serves the message loop until `done` holds, for up to `ms`.
bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms) return false;
        PumpPendingMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// Saved layouts take effect without the dialog, however the editor saves; a
// broken one keeps the tables in use and says which line, once.
TEST_F(ConfigDialog, ASavedLayoutIsTakenAndABrokenOneSaysWhichLine) {
    g_balloons.clear();
    CSystemTray::s_pfnNotifyIconW = &RecordBalloon;
    const auto firstKey = [] { return ActiveLayout().KeyCodes.empty() ? -1 : ActiveLayout().KeyCodes[0]; };
    const auto writeRaw = [](const wchar_t* name, const std::string& text, DWORD share, DWORD holdMs) {
        HANDLE file = ::CreateFileW(name, GENERIC_WRITE, share, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const size_t half = text.size() / 2;  // in two writes, as editors do
        ::WriteFile(file, text.data(), static_cast<DWORD>(half), &written, nullptr);
        PumpUntil([] { return false; }, 60);
        ::WriteFile(file, text.data() + half, static_cast<DWORD>(text.size() - half), &written, nullptr);
        PumpUntil([] { return false; }, holdMs);
        ::CloseHandle(file);
        return true;
    };
    ASSERT_EQ(firstKey(), 65);

    ASSERT_TRUE(writeRaw(L"default.vmap", kEditedLayout, FILE_SHARE_READ, 0));
    EXPECT_TRUE(PumpUntil([&] { return firstKey() == 79; }, 3000)) << "a save in place";
    ASSERT_TRUE(writeRaw(L"saving.tmp", kFirstLayout, 0, 0));
    ASSERT_TRUE(::MoveFileExW(L"saving.tmp", L"default.vmap", MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(PumpUntil([&] { return firstKey() == 65; }, 3000)) << "a temporary file renamed over it";
    ASSERT_TRUE(writeRaw(L"default.vmap", kEditedLayout, 0, 1200));  // held locked past the quiet while
    EXPECT_TRUE(PumpUntil([&] { return firstKey() == 79; }, 3000)) << "a file locked for a moment";
    EXPECT_TRUE(g_balloons.empty()) << "no notice for a clean file";
    EXPECT_TRUE(dlg->m_bEnabled);

    ASSERT_TRUE(writeRaw(L"default.vmap", "KEY:165;\r\nLAYOUT:\r\n65;0;225;193;\r\n", FILE_SHARE_READ, 0));
    EXPECT_TRUE(PumpUntil([] { return !g_balloons.empty(); }, 3000));
    PumpUntil([] { return false; }, 700);
    ASSERT_EQ(g_balloons.size(), 1u) << "one balloon a save";
    EXPECT_EQ(g_balloons[0].uID, UINT(IDR_TRAY_MENU_ENGLISH));
    EXPECT_EQ(g_balloons[0].cbSize, DWORD(sizeof(NOTIFYICONDATAW))) << "Wine reports a system after Vista";
    EXPECT_EQ(g_balloons[0].dwInfoFlags, DWORD(NIIF_WARNING | NIIF_RESPECT_QUIET_TIME)) << "a layout that did not load";
    const std::wstring text = g_balloons[0].szInfo;
    EXPECT_EQ(text.rfind(L"Line 2: ", 0), 0u) << std::string(text.begin(), text.end());
    EXPECT_NE(text.find(L"The previous layout stays in use."), std::wstring::npos);
    EXPECT_NE(text.find(L"marnell-layout check default.vmap"), std::wstring::npos);
    EXPECT_EQ(firstKey(), 79) << "the tables in use stay";

    ASSERT_TRUE(writeRaw(L"default.vmap", kFirstLayout, FILE_SHARE_READ, 0));
    EXPECT_TRUE(PumpUntil([&] { return firstKey() == 65; }, 3000)) << "a mended save";
    EXPECT_EQ(g_balloons.size(), 1u);

    // In Welsh, through the dialog's OK: the same notice in the UI language.
    TestApp().m_pMainWnd = nullptr;
    delete dlg;
    Open("cy");
    ASSERT_TRUE(layoutDir.WriteLayout("KEY:165;\r\nLAYOUT:\r\n"));
    ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_EQ(g_balloons.size(), 2u);
    EXPECT_EQ(std::wstring(g_balloons[1].szInfo).rfind(L"Llinell 2 o default.vmap", 0), 0u);
    CSystemTray::s_pfnNotifyIconW = &Shell_NotifyIconW;
}

// The first start's welcome names a chord of the layout; it comes again at
// each start until the shell has shown it, and never with a layout notice.
TEST_F(ConfigDialog, TheWelcomeComesUntilTheShellHasShownIt) {
    TestApp().SetRegistryKey("CorvaneTest");
    g_balloons.clear();
    CSystemTray::s_pfnNotifyIconW = &RecordBalloon;
    const auto restart = [&](bool firstOfRun) {
        TestApp().m_pMainWnd = nullptr;
        delete dlg;
        Open("en", firstOfRun);
    };
    const auto welcomed = [] { return TestApp().GetProfileInt("Marnell 2", "Welcomed", 0); };
    restart(true);
    ASSERT_EQ(g_balloons.size(), 1u);
    EXPECT_EQ(g_balloons[0].dwInfoFlags, DWORD(NIIF_USER | NIIF_LARGE_ICON | NIIF_RESPECT_QUIET_TIME));
    EXPECT_NE(g_balloons[0].hBalloonIcon, nullptr) << "Marnell's own icon";
    EXPECT_EQ(std::wstring(g_balloons[0].szInfo), L"AltGr+A types \u00e1. Hold AltGr to see the rest.");
    EXPECT_EQ(welcomed(), 0u) << "not remembered before it is shown";
    restart(false);
    EXPECT_EQ(g_balloons.size(), 1u) << "a language switch's dialog does not welcome";
    restart(true);
    ASSERT_EQ(g_balloons.size(), 2u) << "a welcome the shell dropped comes again";
    ::SendMessageW(dlg->m_trayIcon.m_hWnd, WM_TRAY_NOTIFY, dlg->m_trayIcon.m_iconData.uID, NIN_BALLOONSHOW);
    EXPECT_EQ(welcomed(), 1u);
    restart(true);
    EXPECT_EQ(g_balloons.size(), 2u) << "once shown, never again";

    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\CorvaneTest");
    ASSERT_TRUE(layoutDir.WriteLayout("KEY:165;\r\nLAYOUT:\r\n65;0;225;193;\r\n"));  // a finding: no MOD line
    restart(true);
    ASSERT_EQ(g_balloons.size(), 3u);
    EXPECT_EQ(g_balloons[2].dwInfoFlags & NIIF_ICON_MASK, DWORD(NIIF_WARNING)) << "the findings instead of the welcome";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\CorvaneTest");
    TestApp().SetRegistryKey("");
    CSystemTray::s_pfnNotifyIconW = &Shell_NotifyIconW;
}

// A window whose program runs at a higher integrity level than Marnell's:
// the tooltip says that Marnell cannot type there, the first such window of a
// run gets one balloon, and the off tooltip wins while translation is off.
bool g_elevatedReadable = false;
HWND g_elevatedWindow = nullptr;
bool ElevatedIntegrity(HWND window, DWORD& level) {
    level = window == g_elevatedWindow ? SECURITY_MANDATORY_SYSTEM_RID : SECURITY_MANDATORY_UNTRUSTED_RID;
    return window != g_elevatedWindow || g_elevatedReadable;  // unreadable counts as out of reach too
}

TEST_F(ConfigDialog, AWindowOutOfReachIsNamedInTheTooltipAndOnceInABalloon) {
    g_balloons.clear();
    CSystemTray::s_pfnNotifyIconW = &RecordBalloon;
    const WindowIntegrityFn tokenQuery = g_pfnWindowIntegrity;
    g_pfnWindowIntegrity = &ElevatedIntegrity;
    CMarnell2Dlg::s_bOutOfReachSaid = false;
    HWND elevated = ::CreateWindowExW(0, L"STATIC", L"elevated", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                      nullptr, nullptr);
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr, nullptr,
                                   nullptr, nullptr);
    g_elevatedWindow = elevated;
    const auto inFront = [&](HWND window) {
        ::SetForegroundWindow(window);
        dlg->EnableTranslation();  // looks at the window in front, as a foreground event does
        return std::string(shell.calls.back().data.szTip);
    };
    const std::string cannot = "Marnell cannot type in this window (it runs as administrator)";
    for (const bool readable : {true, false}) {
        g_elevatedReadable = readable;
        EXPECT_EQ(inFront(elevated), cannot);
        EXPECT_EQ(inFront(plain), "Marnell");
    }
    ASSERT_EQ(g_balloons.size(), 1u) << "one balloon a run";
    EXPECT_EQ(std::wstring(g_balloons[0].szInfoTitle), L"Marnell cannot type here");
    EXPECT_NE(std::wstring(g_balloons[0].szInfo).find(L"Run Marnell as administrator"), std::wstring::npos);
    inFront(elevated);
    dlg->DisableTranslation();
    EXPECT_STREQ(shell.calls.back().data.szTip, "Marnell (off)");

    inFront(plain);  // the program follows the foreground for the tests after this one too
    ::DestroyWindow(elevated);
    ::DestroyWindow(plain);
    g_pfnWindowIntegrity = tokenQuery;
    CSystemTray::s_pfnNotifyIconW = &Shell_NotifyIconW;
}

// Run by scale-wine.sh at a display scale (LogPixels) with the icon size the
// notification area has there: the normal and the paused icon are handed to
// the shell at that size. It prints the panel's font height for the script
// to compare between scales.
TEST_F(ConfigDialog, TheTrayIconIsHandedOverAtTheNotificationAreasSize) {
    const char* expected = std::getenv("MARNELL_EXPECTED_TRAY_ICON");
    if (expected == nullptr) GTEST_SKIP() << "scale-wine.sh runs this at each scale";
    const auto sizeOf = [](HICON icon) {
        ICONINFO info = {};
        if (!::GetIconInfo(icon, &info)) return 0;
        BITMAP bitmap = {};
        ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        return static_cast<int>(bitmap.bmWidth);
    };
    ASSERT_FALSE(shell.calls.empty());
    EXPECT_EQ(sizeOf(shell.calls.back().data.hIcon), std::atoi(expected)) << "the normal icon";
    dlg->DisableTranslation();
    EXPECT_EQ(sizeOf(shell.calls.back().data.hIcon), std::atoi(expected)) << "the paused icon";
    const LOGFONTW font = MessageFontAtDpi(MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)));
    std::printf("panel font height: %ld\n", font.lfHeight < 0 ? -font.lfHeight : font.lfHeight);
}

TEST_F(ConfigDialog, EnterActsAsOk) {
    const HHOOK hook = dlg->m_hKeyboardHook;
    Show();
    Click(IDC_ENABLED);
    ASSERT_FALSE(Ticked());
    Press(VK_RETURN);
    EXPECT_FALSE(::IsWindowVisible(hDlg));
    EXPECT_FALSE(dlg->m_bEnabled);
    EXPECT_EQ(dlg->m_hKeyboardHook, nullptr);
    EXPECT_FALSE(HookStillInstalled(hook));
    EXPECT_FALSE(Ticked());
}

TEST_F(ConfigDialog, EscapeCloseAndTheCloseCommandActAsCancel) {
    const HHOOK hook = dlg->m_hKeyboardHook;
    const std::vector<std::function<void()>> cancels = {
        [&] { Press(VK_ESCAPE); },
        [&] {
            ::SendMessageW(hDlg, WM_CLOSE, 0, 0);
            PumpPendingMessages();
        },
        [&] {
            ::SendMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            PumpPendingMessages();
        },
    };
    for (size_t i = 0; i < cancels.size(); ++i) {
        Show();
        Click(IDC_ENABLED);
        ASSERT_FALSE(Ticked());
        cancels[i]();
        EXPECT_FALSE(::IsWindowVisible(hDlg)) << i;
        EXPECT_TRUE(Ticked()) << i;
        EXPECT_TRUE(dlg->m_bEnabled) << i;
        EXPECT_EQ(dlg->m_hKeyboardHook, hook) << i;
    }
    EXPECT_TRUE(::IsWindow(hDlg));
}

TEST_F(ConfigDialog, CancelPutsTheTickBackToTheRealStateEitherWay) {
    const HHOOK hook = dlg->m_hKeyboardHook;
    Show();
    Click(IDC_ENABLED);
    Click(IDCANCEL);
    EXPECT_TRUE(Ticked());
    EXPECT_TRUE(dlg->m_bEnabled);
    EXPECT_EQ(dlg->m_hKeyboardHook, hook);

    Show();
    Click(IDC_ENABLED);
    Click(IDOK);  // translation off
    ASSERT_FALSE(dlg->m_bEnabled);
    Show();
    Click(IDC_ENABLED);
    ASSERT_TRUE(Ticked());
    Click(IDCANCEL);
    EXPECT_FALSE(::IsWindowVisible(hDlg));
    EXPECT_FALSE(Ticked());
    EXPECT_FALSE(dlg->m_bEnabled);
    EXPECT_EQ(dlg->m_hKeyboardHook, nullptr);
}

TEST_F(ConfigDialog, OkTickedTakesUpTheEditedLayoutFileWithOneNewHook) {
    const HHOOK first = dlg->m_hKeyboardHook;
    layoutDir.WriteLayout(kEditedLayout);
    Show();
    ASSERT_TRUE(Ticked());
    Click(IDOK);
    EXPECT_FALSE(::IsWindowVisible(hDlg));
    EXPECT_TRUE(dlg->m_bEnabled);
    EXPECT_TRUE(Ticked());
    const HHOOK second = dlg->m_hKeyboardHook;
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(HookStillInstalled(first));

    const LayoutTables& active = ActiveLayout();
    EXPECT_EQ(active.ActivationKeys, std::vector<int16_t>{163});
    EXPECT_EQ(active.ModifierKeys, (std::vector<int16_t>{0, 186}));
    EXPECT_EQ(active.KeyCodes, (std::vector<int16_t>{79, 87, 89}));
    EXPECT_EQ(active.ModifierIndexes, (std::vector<uint8_t>{0, 0, 1}));
    EXPECT_EQ(active.LowerChars, (std::vector<int32_t>{243, 373, 375}));
    EXPECT_EQ(active.UpperChars, (std::vector<int32_t>{211, 372, 374}));
    EXPECT_EQ(GetKeyCodes(), active.KeyCodes);

    // From translation off, OK with the box ticked turns it on again.
    Show();
    Click(IDC_ENABLED);
    Click(IDOK);
    ASSERT_EQ(dlg->m_hKeyboardHook, nullptr);
    layoutDir.WriteLayout(kFirstLayout);
    Show();
    Click(IDC_ENABLED);
    Click(IDOK);
    EXPECT_TRUE(dlg->m_bEnabled);
    EXPECT_NE(dlg->m_hKeyboardHook, nullptr);
    EXPECT_EQ(ActiveLayout().KeyCodes, (std::vector<int16_t>{65, 69}));
}

TEST_F(ConfigDialog, OkUntickedStopsTranslationAndAgainChangesNothing) {
    const HHOOK hook = dlg->m_hKeyboardHook;
    Show();
    Click(IDC_ENABLED);
    Click(IDOK);
    EXPECT_FALSE(::IsWindowVisible(hDlg));
    EXPECT_FALSE(dlg->m_bEnabled);
    EXPECT_EQ(dlg->m_hKeyboardHook, nullptr);
    EXPECT_FALSE(HookStillInstalled(hook));
    EXPECT_FALSE(Ticked());

    Show();
    Click(IDOK);
    EXPECT_FALSE(::IsWindowVisible(hDlg));
    EXPECT_FALSE(dlg->m_bEnabled);
    EXPECT_EQ(dlg->m_hKeyboardHook, nullptr);
    EXPECT_FALSE(Ticked());
    EXPECT_EQ(ActiveLayout().KeyCodes, (std::vector<int16_t>{65, 69}));  // the tables stay
}

TEST_F(ConfigDialog, AboutOpensOneBoxAndHoldsOffTheShowCommandWhileOpen) {
    int boxesAtFirst = 0, boxesAfterSecond = 0;
    bool flagWhileOpen = false, shownWhileOpen = true;
    HWND owner = nullptr;
    {
        WhileAboutOpen driver(hDlg, [&](HWND about) {
            flagWhileOpen = dlg->m_bAboutOpen;
            owner = ::GetWindow(about, GW_OWNER);
            boxesAtFirst = OpenAboutBoxCount(hDlg);
            Command(ID_TRAY_ABOUT);  // returns at once: the box is already open
            boxesAfterSecond = OpenAboutBoxCount(hDlg);
            Command(ID_SHOW_CONFIG);
            shownWhileOpen = ::IsWindowVisible(hDlg) != FALSE;
            ::SendMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
        });
        Command(ID_TRAY_ABOUT);
        ASSERT_TRUE(driver.ran);
        EXPECT_FALSE(driver.forcedClose);  // its OK button closed it
    }
    EXPECT_TRUE(flagWhileOpen);
    EXPECT_EQ(owner, hDlg);
    EXPECT_EQ(boxesAtFirst, 1);
    EXPECT_EQ(boxesAfterSecond, 1);
    EXPECT_FALSE(shownWhileOpen);
    EXPECT_FALSE(dlg->m_bAboutOpen);
    EXPECT_EQ(OpenAboutBoxCount(hDlg), 0);
    Show();  // once the box is closed the command works again
}

TEST_F(ConfigDialog, SystemMenuItemOpensTheAboutBox) {
    bool opened = false;
    {
        WhileAboutOpen driver(hDlg, [&](HWND about) {
            opened = dlg->m_bAboutOpen;
            ::PostMessageW(::GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);  // the box closes by Esc too
        });
        ::SendMessageW(hDlg, WM_SYSCOMMAND, IDM_SYSMENU_ABOUT, 0);
        EXPECT_FALSE(driver.forcedClose);
    }
    EXPECT_TRUE(opened);
    EXPECT_FALSE(dlg->m_bAboutOpen);
}

TEST_F(ConfigDialog, ExitRemovesTheHookDeletesTheIconAndEndsTheLoopWithZero) {
    const HHOOK hook = dlg->m_hKeyboardHook;
    const HWND trayWnd = dlg->m_trayIcon.m_hWnd;
    WatchDeletion(dlg, sizeof(CMarnell2Dlg));
    ::PostMessageW(hDlg, WM_COMMAND, ID_TRAY_EXIT, 0);
    const int code = RunMessageLoop(5000);
    EXPECT_EQ(code, 0);
    ASSERT_TRUE(WatchedBlockDeleted());
    dlg = nullptr;
    EXPECT_TRUE(WatchedBlockUntouched()) << "written to after its deletion";
    EXPECT_FALSE(HookStillInstalled(hook));
    EXPECT_EQ(shell.Count(NIM_DELETE), 1);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_FALSE(::IsWindow(trayWnd));
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
}

TEST_F(ConfigDialog, ExitWhileTheAboutBoxIsOpenEndsAfterTheBoxWithZero) {
    const HHOOK hook = dlg->m_hKeyboardHook;
    const HWND trayWnd = dlg->m_trayIcon.m_hWnd;
    WatchDeletion(dlg, sizeof(CMarnell2Dlg));
    bool aliveAfterExit = false;
    WhileAboutOpen driver(hDlg, [&](HWND) {
        Command(ID_TRAY_EXIT);
        // The object must outlive the About command that is still on the stack.
        aliveAfterExit = !WatchedBlockDeleted() && dlg->m_bAboutOpen;
    });
    ::PostMessageW(hDlg, WM_COMMAND, ID_TRAY_ABOUT, 0);
    const int code = RunMessageLoop(5000);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(driver.ran);
    EXPECT_FALSE(driver.forcedClose);  // Exit closed the box
    EXPECT_TRUE(aliveAfterExit);
    ASSERT_TRUE(WatchedBlockDeleted());
    dlg = nullptr;
    EXPECT_TRUE(WatchedBlockUntouched()) << "written to after its deletion";
    EXPECT_FALSE(HookStillInstalled(hook));
    EXPECT_EQ(shell.Count(NIM_DELETE), 1);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_FALSE(::IsWindow(trayWnd));
}

TEST_F(ConfigDialog, UnknownCommandsLeaveEverythingAsItWas) {
    for (bool shown : {false, true}) {
        if (shown) Show();
        const HHOOK hook = dlg->m_hKeyboardHook;
        const NOTIFYICONDATAA icon = dlg->m_trayIcon.m_iconData;
        const size_t shellCalls = shell.calls.size();
        for (UINT id : {0u, 3u, 16u, 1001u, 32777u, 32779u, 32780u, 32792u, 0x8000u, 0xEFFFu, 0xF000u, 0xFFFFu}) {
            for (UINT code : {0u, 1u}) {  // as from a menu and as from an accelerator
                ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, code), 0);
                ::PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, code), 0);
            }
        }
        int quitCode = -1;
        EXPECT_FALSE(PumpPendingMessages(&quitCode)) << "the loop was told to end with " << quitCode;
        EXPECT_TRUE(::IsWindow(hDlg));
        EXPECT_EQ(::IsWindowVisible(hDlg) != FALSE, shown);
        EXPECT_TRUE(dlg->m_bEnabled);
        EXPECT_EQ(dlg->m_hKeyboardHook, hook);
        EXPECT_TRUE(Ticked());
        EXPECT_FALSE(dlg->m_bAboutOpen);
        EXPECT_EQ(OpenAboutBoxCount(hDlg), 0);
        EXPECT_TRUE(dlg->m_trayIcon.m_bIconAdded);
        EXPECT_EQ(std::memcmp(&icon, &dlg->m_trayIcon.m_iconData, sizeof(icon)), 0);
        EXPECT_EQ(shell.calls.size(), shellCalls);
        EXPECT_TRUE(g_openedPages.empty());
        EXPECT_EQ(TestApp().m_pMainWnd, dlg);
    }
}

TEST(MinimisedIcon, OffsetPutsTheOddPixelOnTheLeadingMargin) {
    EXPECT_EQ(CMarnell2Dlg::CentredIconOffset(100, 32), 34);  // even: 34 either side
    EXPECT_EQ(CMarnell2Dlg::CentredIconOffset(101, 32), 35);  // odd: 35 before, 34 after
    EXPECT_EQ(CMarnell2Dlg::CentredIconOffset(20, 32), -5);   // truncates towards zero
    EXPECT_EQ(CMarnell2Dlg::CentredIconOffset(21, 32), -5);
}

// Per language: the tray icon and its menu, and the web pages.
struct Language {
    const char* code;
    bool welsh;
};

class ConfigDialogLanguage : public ConfigDialog, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override { Open(GetParam().code); }
};

TEST_P(ConfigDialogLanguage, TrayIconShowsTheLanguagesMenuAndItsExitEndsTheLoop) {
    const bool welsh = GetParam().welsh;
    const UINT id = welsh ? IDR_TRAY_MENU_CYMRAEG : IDR_TRAY_MENU_ENGLISH;
    const CSystemTray& tray = dlg->m_trayIcon;
    EXPECT_EQ(tray.m_iconData.uID, id);
    EXPECT_STREQ(tray.m_iconData.szTip, "Marnell");
    EXPECT_EQ(tray.m_iconData.uCallbackMessage, UINT(WM_TRAY_NOTIFY));
    EXPECT_NE(tray.m_iconData.hIcon, nullptr);
    EXPECT_EQ(tray.m_nDefaultItem, 11u);
    EXPECT_TRUE(tray.m_bDefaultByPosition);

    WatchDeletion(dlg, sizeof(CMarnell2Dlg));
    PopupMenuDriver menus(7);  // down past the two characters entries, Enabled, About, the languages to Exit
    EXPECT_EQ(::SendMessageW(tray.m_hWnd, WM_TRAY_NOTIFY, id, WM_RBUTTONUP), 1);
    ASSERT_EQ(menus.seen.size(), 1u);
    // The panel's entry names the layout's activation key and is ticked while it is wanted.
    EXPECT_EQ(menus.seen[0].texts[1], welsh ? "Dangos y nodau wrth ddal AltGr" : "Show characters while AltGr is held");
    EXPECT_TRUE(menus.seen[0].checked[1]);
    EXPECT_EQ(menus.seen[0].texts[3], welsh ? "Galluogi" : "Enabled");
    EXPECT_TRUE(menus.seen[0].checked[3]);
    EXPECT_EQ(menus.seen[0].texts[5], welsh ? "Ynghylch Marnell" : "About Marnell");
    EXPECT_EQ(menus.seen[0].texts[10], welsh ? "Gadael" : "Exit");
    EXPECT_EQ(menus.seen[0].checked[7], !welsh);
    EXPECT_EQ(menus.seen[0].checked[8], welsh);
    EXPECT_EQ(RunMessageLoop(5000), 0);
    EXPECT_TRUE(WatchedBlockDeleted());
    dlg = nullptr;
    EXPECT_FALSE(::IsWindow(hDlg));
}

TEST_P(ConfigDialogLanguage, DoubleClickOnTheIconShowsTheDialog) {
    EXPECT_EQ(::SendMessageW(dlg->m_trayIcon.m_hWnd, WM_TRAY_NOTIFY, dlg->m_trayIcon.m_iconData.uID,
                             WM_LBUTTONDBLCLK),
              1);
    EXPECT_TRUE(::IsWindowVisible(hDlg));
}

TEST_P(ConfigDialogLanguage, EveryWebCommandOpensItsAddressInTheLanguage) {
    const std::string site = "https://www.corvane.example";
    const std::string lang = GetParam().welsh ? "2" : "1";
    const std::string redirect = site + "/marnell/redirect.asp?src=Web&dest=";
    const struct {
        UINT command;
        std::string address;
    } pages[] = {
        {ID_WEB_REFERRAL, redirect + "referral&lang=" + lang + "&ver=2.0.1"},
        {ID_WEB_HOME, site + (GetParam().welsh ? "/?lang=cy" : "/?lang=en")},
        {ID_WEB_FEEDBACK, redirect + "feedback&lang=" + lang + "&ver=2.0.1"},
        {ID_WEB_UPDATES, redirect + "updates&lang=" + lang + "&ver=2.0.1"},
        {ID_WEB_HELP, redirect + "help&lang=" + lang + "&ver=2.0.1"},
    };
    for (const auto& page : pages) {
        g_openedPages.clear();
        Command(page.command);
        ASSERT_EQ(g_openedPages.size(), 1u) << page.command;
        const OpenedPage& opened = g_openedPages[0];
        EXPECT_EQ(opened.file, page.address);
        EXPECT_EQ(opened.operation, "open");
        EXPECT_EQ(opened.hWnd, nullptr);
        EXPECT_TRUE(opened.noParameters);
        EXPECT_TRUE(opened.noDirectory);
        EXPECT_EQ(opened.show, SW_SHOWNORMAL);
    }
    EXPECT_FALSE(::IsWindowVisible(hDlg));
}

// Only exactly "cy" is Welsh.
INSTANTIATE_TEST_SUITE_P(Languages, ConfigDialogLanguage,
                         ::testing::Values(Language{"en", false}, Language{"cy", true}, Language{"CY", false},
                                           Language{"", false}),
                         [](const ::testing::TestParamInfo<Language>& p) {
                             const std::string code = p.param.code;
                             return code.empty() ? std::string("empty") : code == "CY" ? std::string("upper_CY") : code;
                         });

}  // namespace
