#pragma once
// The key translation engine: for every key event, whether it passes, is
// swallowed, arms a modifier or types a character. It reads the active layout
// tables and keeps two small pieces of state of its own. It allocates nothing,
// so it can run inside a system-wide keyboard hook.

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>

enum class KeyEventKind { KeyDown, KeyUp };

// The three questions the engine asks about the keyboard, answered at the
// moment of the call.
class KeyStateSource {
public:
    virtual bool IsKeyHeld(int32_t code) = 0;  // code: a sign-extended table entry
    virtual bool IsShiftHeld() = 0;
    virtual bool IsCapsLockOn() = 0;

protected:
    ~KeyStateSource() = default;
};

struct KeyDecision {
    bool swallow = false;
    // Only for a swallowed key-down that matched a row: the code point to type
    // (see CharacterToType); the hook turns it into UTF-16.
    std::optional<char32_t> character;
};

// What a row's 32-bit character value types: a Unicode code point above the
// 16-bit range (0x10000..0x10FFFF) as itself, every other value as its low 16
// bits, so that layouts written for 16-bit characters keep their meaning.
char32_t CharacterToType(int32_t value);

// Keys the engine never handles in either direction: both Shifts, left Ctrl,
// right Alt, and the packet key that carries injected characters.
constexpr std::array<uint32_t, 5> PassThroughKeys = {0xA0, 0xA1, 0xA2, 0xA5, 0xE7};
bool IsPassThroughKey(uint32_t code);

// The virtual-key codes of real keys; a table entry outside them never matches.
constexpr int kFirstKeyCode = 1;
constexpr int kLastKeyCode = 254;
constexpr bool IsKeyCode(int64_t code) { return code >= kFirstKeyCode && code <= kLastKeyCode; }

// A code point as layouts and messages write it: U+ and at least four hex digits.
std::string CodePointName(char32_t codePoint);

// Process-wide engine state, zero at start; it survives layout reloads and
// disabling, so an armed modifier stays armed.
struct KeyEngineState {
    // Keys whose key-down was handled and whose key-up has not been seen, most
    // recent first; 0 marks an empty entry, and empty entries are at the end.
    std::array<int16_t, 5> HeldKeys{};
    // Index into ModifierKeys of the armed modifier; 0 = none armed.
    int8_t PendingModifier = 0;
    // Keys (codes below 256) of which a key-down was let through since their
    // last key-up: the application has seen them go down, so their key-up
    // must reach it too, or the key stays down for it.
    std::bitset<256> PassedDown;
};
KeyEngineState& EngineState();

KeyDecision ProcessKeyEvent(KeyEventKind kind, uint32_t code, KeyStateSource& keys);

// The character that ProcessKeyEvent decided on for this key-down could not be
// typed, so the hook lets the key-down through after all: the key is forgotten
// from HeldKeys and counts as let through, so its key-up passes too.
void ForgetRefusedKeyDown(uint32_t code);

// The part of the decision that consults the rows and the modifier keys.
KeyDecision TranslateKey(KeyEventKind kind, uint32_t code, KeyStateSource& keys);
