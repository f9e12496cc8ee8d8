// The hook procedure in a real hook chain under Wine: a driving hook in front
// hands it each event, with the message, nCode or key code replaced where a
// test asks, and the probe's hook behind it sees what the procedure passed on.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "KeyboardHook.h"
#include "HookTestLayouts.h"
#include "KeyboardProbe.h"
#include "LayoutDirectory.h"
#include "LayoutFile.h"

namespace {

constexpr WORD kActivation = VK_F24;
constexpr WORD kModifier = 222;
constexpr WORD kCarrier = 'K';  // listed nowhere in the layout

// What the driving hook changes in the carrier key's events.
struct Substitution {
    bool active = false;
    int nCode = HC_ACTION;
    WPARAM downMessage = WM_KEYDOWN;
    WPARAM upMessage = WM_KEYUP;
    bool replaceCode = false;
    DWORD vkCode = 0;
};
Substitution g_substitution;
KBDLLHOOKSTRUCT g_lastSubstituted = {};
LRESULT g_lastResult = 0;  // the procedure's answer for the carrier's last event

bool IsKeyUp(WPARAM message) { return message == WM_KEYUP || message == WM_SYSKEYUP; }

LRESULT CALLBACK DriveHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (!g_substitution.active || event->vkCode != kCarrier) return KeyboardHookProc(nCode, wParam, lParam);
    g_lastSubstituted = *event;
    if (g_substitution.replaceCode) g_lastSubstituted.vkCode = g_substitution.vkCode;
    const WPARAM message = IsKeyUp(wParam) ? g_substitution.upMessage : g_substitution.downMessage;
    g_lastResult = KeyboardHookProc(g_substitution.nCode, message, reinterpret_cast<LPARAM>(&g_lastSubstituted));
    return g_lastResult;
}

bool NoKeysHeld() {
    for (const int16_t key : EngineState().HeldKeys) {
        if (key != 0) return false;
    }
    return true;
}

class HookProcedure : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_directory.IsCurrent());
        ASSERT_TRUE(m_directory.WriteLayout(kTestLayout));
        ASSERT_TRUE(LoadLayoutFile("./default.vmap"));
        ActivateLayout(GetKeyCodes(), GetModifierIndexes(), GetLowerChars(), GetUpperChars(), GetActivationKeys(),
                       GetModifierKeys());
        EngineState() = KeyEngineState{};
        g_substitution = Substitution{};
        ASSERT_TRUE(m_probe.HasFocus());
        m_hDriver = SetWindowsHookExW(WH_KEYBOARD_LL, &DriveHookProc, GetModuleHandleW(nullptr), 0);
        ASSERT_NE(m_hDriver, nullptr);
    }

    void TearDown() override {
        if (m_hDriver != nullptr) UnhookWindowsHookEx(m_hDriver);
        g_substitution = Substitution{};
    }

    LayoutDirectory m_directory;
    KeyboardProbe m_probe;
    HHOOK m_hDriver = nullptr;
};

TEST_F(HookProcedure, BothKindsOfKeyDownAndKeyUpReachTheEngine) {
    const std::pair<WPARAM, WPARAM> messages[] = {{WM_KEYDOWN, WM_KEYUP}, {WM_SYSKEYDOWN, WM_SYSKEYUP}};
    m_probe.Press(kActivation);
    ASSERT_TRUE(m_probe.Settle());
    for (const auto& [down, up] : messages) {
        SCOPED_TRACE(down);
        // The carrier stands for a chord key here: its code becomes A's.
        g_substitution = {true, HC_ACTION, down, up, true, 'A'};
        m_probe.Clear();
        m_probe.Press(kCarrier);
        ASSERT_TRUE(m_probe.Settle());
        EXPECT_EQ(EngineState().HeldKeys[0], 'A');
        EXPECT_EQ(g_lastResult, 1);
        EXPECT_EQ(m_probe.Characters(), std::vector<WPARAM>{0xE1});
        EXPECT_FALSE(m_probe.ChainSaw(down, 'A')) << "a chord key-down is swallowed";
        EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, kCarrier), 0);

        m_probe.Clear();
        m_probe.Release(kCarrier);
        ASSERT_TRUE(m_probe.Settle());
        EXPECT_TRUE(NoKeysHeld()) << "the key-up forgot the key";
        EXPECT_EQ(g_lastResult, 1);
        EXPECT_TRUE(m_probe.Characters().empty()) << "a key-up types nothing";
        EXPECT_FALSE(m_probe.ChainSaw(up, 'A')) << "the key-up of a row's key is swallowed";
        EXPECT_EQ(m_probe.CountMessages(WM_KEYUP, kCarrier), 0);
    }
}

TEST_F(HookProcedure, OtherMessagesAndNegativeCodesGoUntouchedToTheNextHook) {
    m_probe.Press(kActivation);
    m_probe.Tap(kModifier);
    ASSERT_TRUE(m_probe.Settle());
    ASSERT_EQ(EngineState().PendingModifier, 1);

    const std::pair<int, WPARAM> calls[] = {
        {HC_ACTION, 0},         {HC_ACTION, WM_CHAR},      {HC_ACTION, WM_SYSCHAR}, {HC_ACTION, WM_KEYDOWN - 1},
        {HC_ACTION, 0xFFFFFFFF}, {-1, WM_KEYDOWN},          {-1, WM_SYSKEYUP},       {INT_MIN, WM_KEYUP},
    };
    for (const auto& [nCode, message] : calls) {
        SCOPED_TRACE(testing::Message() << "nCode " << nCode << ", message " << message);
        // As A, the event would type U+00E2 if the engine saw it.
        g_substitution = {true, nCode, message, message, true, 'A'};
        m_probe.Clear();
        m_probe.Tap(kCarrier);
        ASSERT_TRUE(m_probe.Settle());
        ASSERT_EQ(m_probe.Chained().size(), 2u);
        for (const ChainedEvent& chained : m_probe.Chained()) {
            EXPECT_EQ(chained.nCode, nCode);
            EXPECT_EQ(chained.wParam, message);
            EXPECT_EQ(chained.event.vkCode, static_cast<DWORD>('A'));
        }
        EXPECT_EQ(std::memcmp(&m_probe.Chained()[1].event, &g_lastSubstituted, sizeof(KBDLLHOOKSTRUCT)), 0);
        EXPECT_EQ(m_probe.Characters(), std::vector<WPARAM>{'k'}) << "the window typed the key itself";
        EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, VK_PACKET), 0);
        EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, kCarrier), 1) << "the event reached the window";
        EXPECT_EQ(EngineState().PendingModifier, 1);
        EXPECT_TRUE(NoKeysHeld());
    }
}

TEST_F(HookProcedure, KeyCodesOutsideTheKeyRangeAreHarmless) {
    m_probe.Press(kActivation);
    m_probe.Press('A');
    ASSERT_TRUE(m_probe.Settle());
    ASSERT_EQ(m_probe.Characters(), std::vector<WPARAM>{0xE1});

    for (const DWORD code : {0x00000000u, 0x000000FFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(code);
        g_substitution = {true, HC_ACTION, WM_KEYDOWN, WM_KEYUP, true, code};
        m_probe.Clear();
        m_probe.Tap(kCarrier);
        ASSERT_TRUE(m_probe.Settle());
        EXPECT_TRUE(m_probe.ChainSaw(WM_KEYDOWN, code));
        EXPECT_TRUE(m_probe.ChainSaw(WM_KEYUP, code));
        EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, VK_PACKET), 0);
    }

    // A, held all along, is still known: its key-up is swallowed and forgotten.
    g_substitution = Substitution{};
    m_probe.Clear();
    m_probe.Release('A');
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_FALSE(m_probe.ChainSaw(WM_KEYUP, 'A'));
    EXPECT_EQ(m_probe.CountMessages(WM_KEYUP, 'A'), 0);
    EXPECT_TRUE(NoKeysHeld());
}

TEST_F(HookProcedure, ACharacterArrivesAsOnePacketKeyDownAndKeyUp) {
    m_probe.Press(kActivation);
    m_probe.Tap('A');
    ASSERT_TRUE(m_probe.Settle());

    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, VK_PACKET), 1);
    EXPECT_EQ(m_probe.CountMessages(WM_KEYUP, VK_PACKET), 1) << "the packet key is released again";
    EXPECT_EQ(m_probe.Characters(), std::vector<WPARAM>{0xE1});
    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, 'A'), 0);
    EXPECT_EQ(m_probe.CountMessages(WM_KEYUP, 'A'), 0);
    EXPECT_EQ(GetAsyncKeyState(VK_PACKET) & 0x8000, 0);

    // The packets went through the procedure and on down the chain, as injected.
    std::vector<WPARAM> packets;
    for (const ChainedEvent& chained : m_probe.Chained()) {
        EXPECT_NE(chained.event.vkCode, static_cast<DWORD>('A'));
        if (chained.event.vkCode != VK_PACKET) continue;
        packets.push_back(chained.wParam);
        EXPECT_EQ(chained.event.scanCode, 0xE1u);
        EXPECT_NE(chained.event.flags & LLKHF_INJECTED, 0u);
        EXPECT_EQ(chained.event.dwExtraInfo, 0u);
    }
    EXPECT_EQ(packets, (std::vector<WPARAM>{WM_KEYDOWN, WM_KEYUP}));
}

// Every record the procedure hands SendInput, and what it answers.
struct SentRecords {
    std::vector<UINT> callSizes;
    std::vector<INPUT> records;
    UINT answer = 0;  // 0: nothing inserted; otherwise passed on to the real SendInput
};
SentRecords g_sent;

UINT WINAPI RecordingSendInput(UINT count, LPINPUT inputs, int size) {
    g_sent.callSizes.push_back(count);
    g_sent.records.insert(g_sent.records.end(), inputs, inputs + count);
    return g_sent.answer == 0 ? 0 : SendInput(count, inputs, size);
}

class InjectionSeam : public HookProcedure {
protected:
    void SetUp() override {
        HookProcedure::SetUp();
        g_sent = SentRecords{};
        g_pfnSendInput = &RecordingSendInput;
    }
    void TearDown() override {
        g_pfnSendInput = &SendInput;
        HookProcedure::TearDown();
    }
};

TEST_F(InjectionSeam, ACharacterAboveU16IsItsSurrogatePairInOneCall) {
    g_sent.answer = 1;
    m_probe.Press(kActivation);
    m_probe.Tap('X');
    ASSERT_TRUE(m_probe.Settle());

    ASSERT_EQ(g_sent.callSizes, std::vector<UINT>{4});
    const std::pair<WORD, DWORD> expected[] = {{0xD83D, KEYEVENTF_UNICODE},
                                                {0xD83D, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP},
                                                {0xDE00, KEYEVENTF_UNICODE},
                                                {0xDE00, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}};
    for (std::size_t i = 0; i < 4; ++i) {
        const INPUT& record = g_sent.records[i];
        EXPECT_EQ(record.type, static_cast<DWORD>(INPUT_KEYBOARD));
        EXPECT_EQ(record.ki.wVk, 0);
        EXPECT_EQ(record.ki.wScan, expected[i].first) << i;
        EXPECT_EQ(record.ki.dwFlags, expected[i].second) << i;
        EXPECT_EQ(record.ki.time, 0u);
        EXPECT_EQ(record.ki.dwExtraInfo, 0u);
    }
    EXPECT_EQ(m_probe.Characters(), (std::vector<WPARAM>{0xD83D, 0xDE00}));

    // Past Unicode, the low 16 bits: one unit, here 0, still typed.
    g_sent = SentRecords{};
    m_probe.Tap('Z');
    ASSERT_TRUE(m_probe.Settle());
    ASSERT_EQ(g_sent.callSizes, std::vector<UINT>{2});
    EXPECT_EQ(g_sent.records[0].ki.wScan, 0);
    EXPECT_EQ(g_sent.records[1].ki.dwFlags, static_cast<DWORD>(KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
}

TEST_F(InjectionSeam, ARefusedCharacterLetsTheKeyThroughDownAndUp) {
    m_probe.Press(kActivation);
    ASSERT_TRUE(m_probe.Settle());
    g_substitution = {true, HC_ACTION, WM_KEYDOWN, WM_KEYUP, true, 'A'};
    m_probe.Clear();
    m_probe.Press(kCarrier);
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(g_sent.callSizes, std::vector<UINT>{2});
    EXPECT_TRUE(m_probe.ChainSaw(WM_KEYDOWN, 'A')) << "the key-down went on down the chain";
    EXPECT_EQ(g_lastResult, 0) << "the next hook's answer";
    EXPECT_TRUE(NoKeysHeld());

    m_probe.Release(kCarrier);
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_TRUE(m_probe.ChainSaw(WM_KEYUP, 'A')) << "its key-up follows it";
    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, VK_PACKET), 0);
}

TEST_F(HookProcedure, AReleasedActivationKeyIsNotHeldThoughToggled) {
    m_probe.Tap(kActivation);
    if ((GetKeyState(kActivation) & 1) == 0) m_probe.Tap(kActivation);
    ASSERT_NE(GetKeyState(kActivation) & 1, 0);
    m_probe.Clear();
    m_probe.Tap('A');
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(m_probe.Characters(), std::vector<WPARAM>{'a'});
    EXPECT_TRUE(m_probe.ChainSaw(WM_KEYDOWN, 'A'));
    EXPECT_TRUE(NoKeysHeld());
}

TEST_F(HookProcedure, CaseFollowsShiftAndCapsLock) {
    const auto typeA = [&]() {
        m_probe.Clear();
        m_probe.Press(kActivation);
        m_probe.Tap('A');
        m_probe.Release(kActivation);
        EXPECT_TRUE(m_probe.Settle());
        return m_probe.Characters();
    };
    m_probe.Press(VK_LSHIFT);
    EXPECT_EQ(typeA(), std::vector<WPARAM>{0xC1});
    m_probe.Release(VK_LSHIFT);
    m_probe.Tap(VK_CAPITAL);
    ASSERT_TRUE(m_probe.Settle());
    ASSERT_NE(GetKeyState(VK_CAPITAL) & 1, 0) << "Caps Lock did not toggle";
    EXPECT_EQ(typeA(), std::vector<WPARAM>{0xC1});
    m_probe.Press(VK_LSHIFT);
    EXPECT_EQ(typeA(), std::vector<WPARAM>{0xE1});
    m_probe.Release(VK_LSHIFT);
    m_probe.Tap(VK_CAPITAL);
    EXPECT_EQ(typeA(), std::vector<WPARAM>{0xE1});
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
}

TEST_F(HookProcedure, ModifierSequencesTypeBeyondLatinOneAndALowHalfOfZero) {
    m_probe.Press(kActivation);
    m_probe.Tap(kModifier);
    m_probe.Release(kActivation);
    m_probe.Tap('W');
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(m_probe.Characters(), std::vector<WPARAM>{0x175});
    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, kModifier), 0) << "the modifier key is swallowed";

    // Character value 0x110000: what is injected is its low half, 0.
    m_probe.Clear();
    m_probe.Press(kActivation);
    m_probe.Tap('Z');
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, VK_PACKET), 1);
    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, 'Z'), 0);
    bool packetSeen = false;
    for (const ChainedEvent& chained : m_probe.Chained()) {
        if (chained.event.vkCode != VK_PACKET) continue;
        packetSeen = true;
        EXPECT_EQ(chained.event.scanCode, 0u);
    }
    EXPECT_TRUE(packetSeen);
}

// The foreground window passed to a program Marnell stays out of in the middle
// of a chord: the swallowed key's release is still swallowed, and nothing else
// is touched, so no key is left down on either side.
TEST_F(HookProcedure, InAnExcludedProgramKeysPassAndAChordBegunBeforeEndsCleanly) {
    m_probe.Clear();
    m_probe.Press(kActivation);
    m_probe.Press('A');
    KeysPassUntouched().store(true);
    m_probe.Release('A');
    m_probe.Tap('O');
    m_probe.Release(kActivation);
    ASSERT_TRUE(m_probe.Settle());
    KeysPassUntouched().store(false);
    EXPECT_EQ(m_probe.Characters(), (std::vector<WPARAM>{0xE1, 'o'}));
    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, 'A'), 0);
    EXPECT_EQ(m_probe.CountMessages(WM_KEYUP, 'A'), 0) << "its key-down was swallowed";
    EXPECT_EQ(m_probe.CountMessages(WM_KEYDOWN, 'O'), m_probe.CountMessages(WM_KEYUP, 'O'));
    EXPECT_TRUE(NoKeysHeld());

    // A key pressed in the excluded program and released after it left.
    m_probe.Clear();
    KeysPassUntouched().store(true);
    m_probe.Press(kActivation);
    m_probe.Press('A');
    KeysPassUntouched().store(false);
    m_probe.Release('A');
    m_probe.Release(kActivation);
    ASSERT_TRUE(m_probe.Settle());
    EXPECT_EQ(m_probe.Characters(), (std::vector<WPARAM>{'a'}));
    EXPECT_EQ(m_probe.CountMessages(WM_KEYUP, 'A'), 1);
    EXPECT_TRUE(NoKeysHeld());
}

}  // namespace
