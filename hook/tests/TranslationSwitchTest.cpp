// Switching translation on and off through the configuration dialog, observed
// by what the keyboard then does in a focused window under Wine.

#include <gtest/gtest.h>

#include <array>

#include "KeyTranslation.h"
#include "HookTestLayouts.h"
#include "KeyboardProbe.h"
#include "LayoutDirectory.h"
#include "LayoutFile.h"
#include "KeyboardWitness.h"
#include "Marnell2Dlg.h"

namespace {

class CHookTestApp : public CWinApp {};
CHookTestApp theApp;

constexpr WORD kActivation = VK_F24;
constexpr WORD kModifier = 222;

BOOL WINAPI AcceptNotify(DWORD, PNOTIFYICONDATAA) { return TRUE; }

class TranslationSwitch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_directory.IsCurrent());
        ASSERT_TRUE(m_directory.WriteLayout(kTestLayout));
        EngineState() = KeyEngineState{};
        CSystemTray::s_pfnNotifyIcon = &AcceptNotify;
        m_dialog = OpenDialog();
        ASSERT_NE(m_dialog, nullptr);
        ASSERT_TRUE(m_dialog->m_bEnabled) << "opening the dialog enables translation";
    }

    void TearDown() override {
        if (m_dialog != nullptr && m_dialog->m_bEnabled) m_dialog->DisableTranslation();
        delete m_dialog;
        CSystemTray::s_pfnNotifyIcon = &Shell_NotifyIconA;
    }

    // Created as the program creates it, hidden, with the probe focused again.
    CMarnell2Dlg* OpenDialog() {
        auto* dialog = new CMarnell2Dlg;
        dialog->m_strLanguage = "en";
        if (!dialog->Create(IDD_CONFIG_ENGLISH)) {
            delete dialog;
            return nullptr;
        }
        dialog->ShowWindow(SW_HIDE);
        m_probe.Focus();
        EXPECT_TRUE(m_probe.HasFocus());
        return dialog;
    }

    bool Ticked(const CMarnell2Dlg& dialog) const { return dialog.IsDlgButtonChecked(IDC_ENABLED) == BST_CHECKED; }

    // The OK button with the box ticked or not, as the user would leave it.
    void PressOk(CMarnell2Dlg& dialog, bool ticked) {
        dialog.CheckDlgButton(IDC_ENABLED, ticked ? BST_CHECKED : BST_UNCHECKED);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(dialog.m_hWnd, IDOK)));
        m_probe.Focus();
        EXPECT_TRUE(m_probe.HasFocus());
    }

    // The characters that reach the window for one chord of key vk.
    std::vector<WPARAM> Chord(WORD vk) {
        m_probe.Clear();
        m_probe.Press(kActivation);
        m_probe.Tap(vk);
        m_probe.Release(kActivation);
        EXPECT_TRUE(m_probe.Settle());
        return m_probe.Characters();
    }

    // Arms the modifier, then O, which has a chord row but no row for the
    // modifier. One hook cancels the modifier and lets O through; a second hook
    // behind it would then see O as a chord and type U+00F3.
    std::vector<WPARAM> ModifierThenO() {
        m_probe.Clear();
        m_probe.Press(kActivation);
        m_probe.Tap(kModifier);
        m_probe.Tap('O');
        m_probe.Release(kActivation);
        EXPECT_TRUE(m_probe.Settle());
        return m_probe.Characters();
    }

    LayoutDirectory m_directory;
    KeyboardProbe m_probe;
    CMarnell2Dlg* m_dialog = nullptr;
};

const std::vector<WPARAM> kAcute{0xE1};
const std::vector<WPARAM> kGrave{0xE0};
const std::vector<WPARAM> kPlainA{'a'};
const std::vector<WPARAM> kPlainO{'o'};

TEST_F(TranslationSwitch, EnablingAgainTakesUpTheEditedFileWithOneHook) {
    ASSERT_EQ(ModifierThenO(), kPlainO);
    ASSERT_EQ(Chord('A'), kAcute);

    ASSERT_TRUE(m_directory.WriteLayout(kEditedLayout));
    PressOk(*m_dialog, true);
    EXPECT_TRUE(m_dialog->m_bEnabled);
    EXPECT_TRUE(Ticked(*m_dialog));
    EXPECT_EQ(ModifierThenO(), kPlainO);
    EXPECT_EQ(Chord('A'), kGrave);

    ASSERT_TRUE(m_directory.WriteLayout(kTestLayout));
    EXPECT_EQ(m_dialog->EnableTranslation(), 1);
    EXPECT_EQ(ModifierThenO(), kPlainO);
    EXPECT_EQ(Chord('A'), kAcute);

    PressOk(*m_dialog, false);
    EXPECT_FALSE(m_dialog->m_bEnabled);
    EXPECT_EQ(m_dialog->m_hKeyboardHook, nullptr);
    EXPECT_FALSE(Ticked(*m_dialog));
    EXPECT_EQ(Chord('A'), kPlainA) << "no translation once disabled";
    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, VK_PACKET), 0);
}

TEST_F(TranslationSwitch, AFailedEnableKeepsTheHookTheTablesAndTheTick) {
    // Loaded tables that differ from the active ones: a failed enable must not
    // activate them.
    ASSERT_TRUE(m_directory.Write("edited.vmap", kEditedLayout));
    ASSERT_TRUE(LoadLayoutFile("./edited.vmap"));
    ASSERT_TRUE(m_directory.Remove("default.vmap"));
    const HHOOK hook = m_dialog->m_hKeyboardHook;

    EXPECT_EQ(m_dialog->EnableTranslation(), 0);
    EXPECT_EQ(m_dialog->m_hKeyboardHook, hook);
    EXPECT_TRUE(m_dialog->m_bEnabled);
    EXPECT_TRUE(Ticked(*m_dialog));
    EXPECT_EQ(Chord('A'), kAcute) << "the old hook translates with the old tables";
    EXPECT_EQ(ModifierThenO(), kPlainO);

    m_dialog->CheckDlgButton(IDC_ENABLED, BST_UNCHECKED);
    EXPECT_EQ(m_dialog->EnableTranslation(), 0);
    EXPECT_FALSE(Ticked(*m_dialog)) << "the box keeps the tick it had";

    m_dialog->DisableTranslation();
    m_dialog->CheckDlgButton(IDC_ENABLED, BST_CHECKED);
    EXPECT_EQ(m_dialog->EnableTranslation(), 0);
    EXPECT_FALSE(m_dialog->m_bEnabled);
    EXPECT_EQ(m_dialog->m_hKeyboardHook, nullptr);
    EXPECT_TRUE(Ticked(*m_dialog));
    EXPECT_EQ(Chord('A'), kPlainA) << "no hook was installed";
}

TEST_F(TranslationSwitch, DisablingKeepsHeldKeysAndThePendingModifier) {
    m_probe.Press(kActivation);
    m_probe.Press('A');
    m_probe.Press(kModifier);
    m_probe.Release(kActivation);
    ASSERT_TRUE(m_probe.Settle());
    ASSERT_EQ(m_probe.Characters(), kAcute);

    m_dialog->DisableTranslation();
    const std::array<int16_t, 5> held{kModifier, 'A', 0, 0, 0};
    EXPECT_EQ(EngineState().HeldKeys, held);
    EXPECT_EQ(EngineState().PendingModifier, 1);

    // Keys while disabled reach the window untranslated and touch no state.
    m_probe.Clear();
    m_probe.Release(kModifier);
    m_probe.Tap('O');
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(m_probe.Characters(), kPlainO);
    EXPECT_EQ(EngineState().HeldKeys, held);
    EXPECT_EQ(EngineState().PendingModifier, 1);

    ASSERT_EQ(m_dialog->EnableTranslation(), 1);
    m_probe.Clear();
    m_probe.Tap('W');
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(m_probe.Characters(), std::vector<WPARAM>{0x175}) << "the modifier armed before disabling";

    m_probe.Clear();
    m_probe.Release('A');
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_FALSE(m_probe.ChainSaw(WM_KEYUP, 'A')) << "A, recorded before disabling, is swallowed on release";
    EXPECT_EQ(m_probe.CountMessages(WM_KEYUP, 'A'), 0);
}

TEST_F(TranslationSwitch, DisablingWithoutAHookChangesNothing) {
    m_dialog->DisableTranslation();
    EXPECT_EQ(m_dialog->m_hKeyboardHook, nullptr);
    EXPECT_FALSE(m_dialog->m_bEnabled);
    EXPECT_FALSE(Ticked(*m_dialog));

    CMarnell2Dlg* other = OpenDialog();
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(other->m_bEnabled);

    // Again, directly and through OK with the box unticked: the other dialog's
    // hook must survive both.
    m_dialog->DisableTranslation();
    PressOk(*m_dialog, false);
    EXPECT_EQ(m_dialog->m_hKeyboardHook, nullptr);
    EXPECT_FALSE(m_dialog->m_bEnabled);
    EXPECT_FALSE(Ticked(*m_dialog));
    EXPECT_EQ(Chord('A'), kAcute);
    EXPECT_EQ(ModifierThenO(), kPlainO);

    other->DisableTranslation();
    EXPECT_EQ(Chord('A'), kPlainA);
    delete other;
}

// Windows removes a hook that misses its time-out too often, without telling
// its owner; any process may remove one by its handle, which stands in here.
TEST_F(TranslationSwitch, AHookRemovedBehindItsBackIsBackForTheNextKeyStroke) {
    const HHOOK removed = m_dialog->m_hKeyboardHook;
    const unsigned reinstalls = CKeyboardWitness::Instance().Reinstalls();
    ASSERT_TRUE(UnhookWindowsHookEx(removed));

    m_probe.Clear();
    m_probe.Tap('K');  // reaches the window untranslated, and shows the loss
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(CKeyboardWitness::Instance().Reinstalls(), reinstalls + 1);
    EXPECT_NE(m_dialog->m_hKeyboardHook, removed);
    EXPECT_NE(m_dialog->m_hKeyboardHook, nullptr);
    EXPECT_EQ(Chord('A'), kAcute) << "the next stroke is translated, once: one hook";
    EXPECT_EQ(ModifierThenO(), kPlainO);

    // A storm of ordinary keys with a working hook reinstalls nothing.
    const HHOOK working = m_dialog->m_hKeyboardHook;
    m_probe.Clear();
    for (int i = 0; i < 150; ++i) m_probe.Tap('K');
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(CKeyboardWitness::Instance().Reinstalls(), reinstalls + 1);
    EXPECT_EQ(m_dialog->m_hKeyboardHook, working);
}

TEST_F(TranslationSwitch, NothingIsReinstalledWhileDisabled) {
    const unsigned reinstalls = CKeyboardWitness::Instance().Reinstalls();
    m_dialog->DisableTranslation();
    EXPECT_FALSE(CKeyboardWitness::Instance().IsWatching());
    m_probe.Clear();
    for (int i = 0; i < 20; ++i) m_probe.Tap('K');
    EXPECT_EQ(Chord('A'), kPlainA);
    EXPECT_EQ(CKeyboardWitness::Instance().Reinstalls(), reinstalls);
    EXPECT_EQ(m_dialog->m_hKeyboardHook, nullptr);
}

}  // namespace
