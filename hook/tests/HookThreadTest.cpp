// The hook is served by a thread of its own: while the main thread, which
// draws the dialogs and talks to the shell, does not answer, a chord is still
// translated at once.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "HookTestLayouts.h"
#include "KeyboardHookThread.h"
#include "LayoutFile.h"
#include "KeyboardProbe.h"
#include "LayoutDirectory.h"
#include "Marnell2Dlg.h"

namespace {

BOOL WINAPI AcceptNotify(DWORD, PNOTIFYICONDATAA) { return TRUE; }

// A thread of its own that types a chord and watches, through a hook behind
// Marnell's, for the character Marnell injects.
class ChordWatcher {
public:
    ChordWatcher() : m_thread(&ChordWatcher::Run, this) {
        while (!m_ready.load()) Sleep(5);
    }
    ~ChordWatcher() { m_thread.join(); }

    void Go() { m_go.store(true); }
    bool PacketSeen() const { return m_packetMs.load() >= 0; }
    LONG PacketMs() const { return m_packetMs.load(); }
    DWORD Character() const { return m_character.load(); }

private:
    static ChordWatcher* s_self;

    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (nCode == HC_ACTION && wParam == WM_KEYDOWN && event->vkCode == VK_PACKET && !s_self->PacketSeen()) {
            s_self->m_character.store(event->scanCode);
            s_self->m_packetMs.store(static_cast<LONG>(GetTickCount() - s_self->m_sentAt));
        }
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static void Send(WORD vk, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(INPUT));
    }

    void Pump(DWORD ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }

    void Run() {
        s_self = this;
        // Installed before Marnell's hook, so it sits behind it in the chain.
        HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, &HookProc, GetModuleHandleW(nullptr), 0);
        m_ready.store(true);
        while (!m_go.load()) Pump(5);
        Send(VK_F24, 0);
        Pump(20);
        m_sentAt = GetTickCount();
        Send('A', 0);
        Send('A', KEYEVENTF_KEYUP);
        Send(VK_F24, KEYEVENTF_KEYUP);
        Pump(1000);
        UnhookWindowsHookEx(hook);
    }

    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_go{false};
    std::atomic<LONG> m_packetMs{-1};
    std::atomic<DWORD> m_character{0};
    DWORD m_sentAt = 0;
    std::thread m_thread;
};
ChordWatcher* ChordWatcher::s_self = nullptr;

TEST(HookThread, AChordIsTranslatedAtOnceWhileTheMainThreadSleeps) {
    LayoutDirectory directory;
    ASSERT_TRUE(directory.WriteLayout(kTestLayout));
    CSystemTray::s_pfnNotifyIcon = &AcceptNotify;
    {
        ChordWatcher watcher;
        auto* dialog = new CMarnell2Dlg;
        dialog->m_strLanguage = "en";
        ASSERT_TRUE(dialog->Create(IDD_CONFIG_ENGLISH));
        dialog->ShowWindow(SW_HIDE);
        ASSERT_TRUE(dialog->m_bEnabled);

        watcher.Go();
        Sleep(1500);  // the main thread answers nothing meanwhile
        EXPECT_TRUE(watcher.PacketSeen()) << "no character while the main thread slept";
        EXPECT_EQ(watcher.Character(), 0xE1u);
        EXPECT_LT(watcher.PacketMs(), 500);

        dialog->DisableTranslation();
        delete dialog;
    }
    CSystemTray::s_pfnNotifyIcon = &Shell_NotifyIconA;
}

// Replacing the hook installs the new one before it removes the old: chords
// typed meanwhile find exactly one hook every time. The hook is replaced from
// a thread of its own, as the main thread serves the probe's hook behind it.
TEST(HookThread, ReinstallingWhileKeysArriveLosesNoneAndDoublesNone) {
    LayoutDirectory directory;
    ASSERT_TRUE(directory.WriteLayout(kTestLayout));
    ASSERT_TRUE(LoadLayoutFile("./default.vmap"));
    KeyboardProbe probe;
    // The hook alone, without the dialog's witness: this thread types whole
    // chords in one SendInput call, and Wine delivers the raw input of a whole
    // call before it calls the hooks, an order no keyboard gives.
    LayoutTables tables{GetActivationKeys(), GetModifierKeys(), GetKeyCodes(),
                        GetModifierIndexes(), GetLowerChars(), GetUpperChars()};
    const CKeyboardHookThread::Installed first = CKeyboardHookThread::Instance().Install(nullptr, std::move(tables));
    ASSERT_TRUE(first.succeeded);

    std::atomic<bool> typed{false};
    std::atomic<int> replaced{0};
    HHOOK hook = first.hook;
    std::thread replacer([&] {
        while (!typed.load()) {
            const CKeyboardHookThread::Installed installed = CKeyboardHookThread::Instance().Reinstall(hook);
            EXPECT_TRUE(installed.succeeded);
            hook = installed.hook;
            ++replaced;
        }
    });
    constexpr int kChords = 300;
    for (int i = 0; i < kChords; ++i) {
        INPUT chord[4] = {};
        const WORD keys[4] = {VK_F24, 'A', 'A', VK_F24};
        for (int k = 0; k < 4; ++k) {
            chord[k].type = INPUT_KEYBOARD;
            chord[k].ki.wVk = keys[k];
            chord[k].ki.dwFlags = k < 2 ? 0 : KEYEVENTF_KEYUP;
        }
        SendInput(4, chord, sizeof(INPUT));
        if (i % 20 == 0) {
            EXPECT_TRUE(probe.Settle());
        }
    }
    EXPECT_TRUE(probe.Settle());
    typed.store(true);
    replacer.join();
    EXPECT_GT(replaced.load(), kChords) << "the hook was replaced while the chords arrived";
    EXPECT_EQ(probe.Characters(), std::vector<WPARAM>(kChords, 0xE1));

    CKeyboardHookThread::Instance().Remove(hook);
}

}  // namespace
