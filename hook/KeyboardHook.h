#pragma once
// The low-level keyboard hook: turns each key event of the desktop into a call
// of the key translation engine and carries out its decision.

#include <windows.h>

#include <atomic>

#include "KeyTranslation.h"
#include "SeenKeyEvents.h"

LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);

// The key events the hook was called for: the witness matches raw input to
// them to know that the hook is still there.
SeenKeyEvents& KeyEventsSeenByHook();

// Set by the main thread while the foreground window belongs to a program
// Marnell stays out of: every key-down passes untouched, and only the key-up
// of a key whose key-down was swallowed before is still swallowed, so that no
// key is left down anywhere.
std::atomic<bool>& KeysPassUntouched();

// The index (into the layout's modifier keys) of the accent the engine holds
// armed after the last key event, 0 for none: the hook publishes it so that
// the main thread can show that accent's choices without reading the engine's
// own state.
std::atomic<int>& ArmedModifierIndex();

// Types one character (a code point; above U+FFFF as its surrogate pair): a
// Unicode key-down and key-up for each UTF-16 unit, all in one SendInput call
// so that no other input falls between them. False when the system inserted
// none of them (input to the focused window blocked, for example).
bool InjectCharacter(char32_t codePoint);

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
