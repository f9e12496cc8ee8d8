#include "KeyTranslation.h"

#include <algorithm>
#include <cstdio>

#include "LayoutFile.h"

KeyEngineState& EngineState() {
    static KeyEngineState state;
    return state;
}

bool IsPassThroughKey(uint32_t code) {
    return std::find(PassThroughKeys.begin(), PassThroughKeys.end(), code) != PassThroughKeys.end();
}

std::string CodePointName(char32_t codePoint) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}

namespace {

// Table entries are compared with a key code after sign extension.
bool Matches(int16_t entry, uint32_t code) { return static_cast<uint32_t>(static_cast<int32_t>(entry)) == code; }

bool AllActivationKeysHeld(const LayoutTables& tables, KeyStateSource& keys) {
    for (const int16_t key : tables.ActivationKeys) {
        if (!keys.IsKeyHeld(key)) return false;
    }
    return true;
}

void RecordKey(std::array<int16_t, 5>& held, uint32_t code) {
    const int16_t key = static_cast<int16_t>(static_cast<uint16_t>(code & 0xFFFFu));
    // 0 marks an empty entry: recorded at the front it would hide every key behind it.
    if (key == 0) return;
    if (Matches(held[0], code)) return;  // an auto-repeat of the most recent key adds nothing
    std::copy_backward(held.begin(), held.end() - 1, held.end());
    held[0] = key;
}

// Removes every entry equal to code; true when there was one.
bool ForgetKey(std::array<int16_t, 5>& held, uint32_t code) {
    bool found = false;
    for (std::size_t i = 0; i < held.size() && held[i] != 0; ++i) {
        if (Matches(held[i], code)) {
            std::copy(held.begin() + static_cast<std::ptrdiff_t>(i) + 1, held.end(),
                      held.begin() + static_cast<std::ptrdiff_t>(i));
            held.back() = 0;
            found = true;
            // The entry that moved into position i is not looked at again.
        }
    }
    return found;
}

void MarkPassedDown(std::bitset<256>& passed, uint32_t code, bool value) {
    if (code < passed.size()) passed[code] = value;
}

bool WasPassedDown(const std::bitset<256>& passed, uint32_t code) { return code < passed.size() && passed[code]; }

KeyDecision DecideKeyDown(KeyEngineState& state, uint32_t code, KeyStateSource& keys) {
    const bool admitted = AllActivationKeysHeld(ActiveLayout(), keys) || state.PendingModifier > 0;
    if (!admitted) return {};
    RecordKey(state.HeldKeys, code);
    return TranslateKey(KeyEventKind::KeyDown, code, keys);
}

KeyDecision DecideKeyUp(KeyEngineState& state, uint32_t code, KeyStateSource& keys) {
    // A key-up is considered exactly when its key-down was recorded.
    if (!ForgetKey(state.HeldKeys, code)) return {};
    KeyDecision decision = TranslateKey(KeyEventKind::KeyUp, code, keys);
    // Held under the activation keys after a plain key-down had already reached
    // the application (its repeats were translated): the release goes through.
    if (WasPassedDown(state.PassedDown, code)) decision.swallow = false;
    return decision;
}

}  // namespace

char32_t CharacterToType(int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    if (bits >= 0x10000u && bits <= 0x10FFFFu) return static_cast<char32_t>(bits);
    return static_cast<char32_t>(bits & 0xFFFFu);
}

KeyDecision ProcessKeyEvent(KeyEventKind kind, uint32_t code, KeyStateSource& keys) {
    if (IsPassThroughKey(code)) return {};
    KeyEngineState& state = EngineState();

    if (kind == KeyEventKind::KeyDown) {
        const KeyDecision decision = DecideKeyDown(state, code, keys);
        if (!decision.swallow) MarkPassedDown(state.PassedDown, code, true);
        return decision;
    }
    const KeyDecision decision = DecideKeyUp(state, code, keys);
    MarkPassedDown(state.PassedDown, code, false);
    return decision;
}

void ForgetRefusedKeyDown(uint32_t code) {
    KeyEngineState& state = EngineState();
    ForgetKey(state.HeldKeys, code);
    MarkPassedDown(state.PassedDown, code, true);
}

KeyDecision TranslateKey(KeyEventKind kind, uint32_t code, KeyStateSource& keys) {
    const LayoutTables& tables = ActiveLayout();
    KeyEngineState& state = EngineState();

    const bool shift = keys.IsShiftHeld();
    const bool capsLock = keys.IsCapsLockOn();
    const bool upperCase = shift != capsLock;

    // Tables handed to ActivateLayout of unequal lengths never make the scan read past one.
    const std::size_t rows = std::min({tables.KeyCodes.size(), tables.ModifierIndexes.size(),
                                       tables.LowerChars.size(), tables.UpperChars.size()});
    const uint8_t pending = static_cast<uint8_t>(state.PendingModifier);
    bool rowMatched = false;
    int32_t candidate = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        if (Matches(tables.KeyCodes[row], code) && tables.ModifierIndexes[row] == pending) {
            rowMatched = true;
            candidate = upperCase ? tables.UpperChars[row] : tables.LowerChars[row];
        }
    }

    KeyDecision decision;
    if (rowMatched) {
        decision.swallow = true;
        if (kind == KeyEventKind::KeyDown) {
            decision.character = CharacterToType(candidate);
            state.PendingModifier = 0;
        }
        return decision;
    }

    if (kind == KeyEventKind::KeyDown) state.PendingModifier = 0;
    bool modifierMatched = false;
    for (std::size_t k = 1; k < tables.ModifierKeys.size(); ++k) {
        if (Matches(tables.ModifierKeys[k], code)) {
            modifierMatched = true;
            if (kind == KeyEventKind::KeyDown) {
                state.PendingModifier = static_cast<int8_t>(static_cast<uint8_t>(k & 0xFFu));
            }
        }
    }
    decision.swallow = modifierMatched;
    return decision;
}
