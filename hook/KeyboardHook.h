#pragma once
// The low-level keyboard hook: turns each key event of the desktop into a call
// of the key translation engine and carries out its decision.

#include <windows.h>

#include "KeyTranslation.h"

LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);

// Types one character as a single Unicode key-down.
void InjectCharacter(WCHAR ch);

// The engine's key-state queries, answered by GetKeyState.
class WindowsKeyState : public KeyStateSource {
public:
    bool IsKeyHeld(int32_t code) override;
    bool IsShiftHeld() override;
    bool IsCapsLockOn() override;
};

// SendInput, replaceable by tests that must see the exact record.
using SendInputFn = UINT(WINAPI*)(UINT, LPINPUT, int);
extern SendInputFn g_pfnSendInput;
