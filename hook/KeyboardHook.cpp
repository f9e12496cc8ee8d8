#include "KeyboardHook.h"

// The record layout the system expects from a 32-bit program.
static_assert(sizeof(void*) != 4 || sizeof(INPUT) == 28, "INPUT must be 28 bytes in a 32-bit build");

SendInputFn g_pfnSendInput = &SendInput;

bool WindowsKeyState::IsKeyHeld(int32_t code) {
    return (static_cast<unsigned short>(GetKeyState(static_cast<int>(static_cast<int16_t>(code)))) & 0x0800) != 0;
}

bool WindowsKeyState::IsShiftHeld() {
    return (static_cast<unsigned short>(GetKeyState(VK_SHIFT)) & 0x8000) != 0;
}

bool WindowsKeyState::IsCapsLockOn() {
    return (static_cast<unsigned short>(GetKeyState(VK_CAPITAL)) & 0x0001) != 0;
}

void InjectCharacter(WCHAR ch) {
    INPUT record = {};
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = 0;
    record.ki.wScan = ch;
    record.ki.dwFlags = KEYEVENTF_UNICODE;
    g_pfnSendInput(1, &record, sizeof(INPUT));
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
    WindowsKeyState keyState;
    const KeyDecision decision = ProcessKeyEvent(kind, static_cast<uint32_t>(event->vkCode), keyState);
    if (decision.character) InjectCharacter(static_cast<WCHAR>(*decision.character));
    if (decision.swallow) return 1;
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}
