#include "KeyboardHook.h"

#include "Unicode.h"

// The record layout the system expects from a 32-bit program.
static_assert(sizeof(void*) != 4 || sizeof(INPUT) == 28, "INPUT must be 28 bytes in a 32-bit build");

SendInputFn g_pfnSendInput = &SendInput;

SeenKeyEvents& KeyEventsSeenByHook() {
    static SeenKeyEvents seen;
    return seen;
}

std::atomic<bool>& KeysPassUntouched() {
    static std::atomic<bool> untouched{false};
    return untouched;
}
static_assert(std::atomic<bool>::is_always_lock_free, "the hook must never wait on a lock");

std::atomic<int>& ArmedModifierIndex() {
    static std::atomic<int> armed{0};
    return armed;
}
static_assert(std::atomic<int>::is_always_lock_free, "the hook must never wait on a lock");

bool WindowsKeyState::IsKeyHeld(int32_t code) {
    return (static_cast<unsigned short>(GetKeyState(static_cast<int>(static_cast<int16_t>(code)))) & 0x0800) != 0;
}

bool WindowsKeyState::IsShiftHeld() {
    return (static_cast<unsigned short>(GetKeyState(VK_SHIFT)) & 0x8000) != 0;
}

bool WindowsKeyState::IsCapsLockOn() {
    return (static_cast<unsigned short>(GetKeyState(VK_CAPITAL)) & 0x0001) != 0;
}

namespace {

void SetUnicodeRecord(INPUT& record, WORD unit, DWORD flags) {
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = 0;
    record.ki.wScan = unit;
    record.ki.dwFlags = KEYEVENTF_UNICODE | flags;
}

}  // namespace

bool InjectCharacter(char32_t codePoint) {
    // The engine hands over values above U+FFFF only when they are code points
    // (CharacterToType), so anything above 16 bits is a surrogate pair.
    char16_t units[2];
    const UINT unitCount = static_cast<UINT>(EncodeUtf16(codePoint, units));
    // Each unit is released again: a packet key left down would make
    // applications read the next character as an auto-repeat.
    INPUT records[4] = {};
    for (UINT i = 0; i < unitCount; ++i) {
        SetUnicodeRecord(records[2 * i], units[i], 0);
        SetUnicodeRecord(records[2 * i + 1], units[i], KEYEVENTF_KEYUP);
    }
    return g_pfnSendInput(2 * unitCount, records, sizeof(INPUT)) != 0;
}

LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode < 0) return CallNextHookEx(nullptr, nCode, wParam, lParam);

    KeyEventKind kind;
    switch (wParam) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            kind = KeyEventKind::KeyDown;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            kind = KeyEventKind::KeyUp;
            break;
        default:
            return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    KeyEventsSeenByHook().Record(event->vkCode, event->scanCode, kind == KeyEventKind::KeyUp);
    if (kind == KeyEventKind::KeyDown && KeysPassUntouched().load(std::memory_order_relaxed))
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    WindowsKeyState keyState;
    const KeyDecision decision = ProcessKeyEvent(kind, static_cast<uint32_t>(event->vkCode), keyState);
    ArmedModifierIndex().store(EngineState().PendingModifier, std::memory_order_relaxed);
    if (decision.character && !InjectCharacter(*decision.character)) {
        // The character could not be typed: the user gets the key itself rather
        // than nothing.
        ForgetRefusedKeyDown(static_cast<uint32_t>(event->vkCode));
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    if (decision.swallow) return 1;
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}
