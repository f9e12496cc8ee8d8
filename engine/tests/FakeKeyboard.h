#pragma once
// A keyboard for the engine's tests: the keys listed as held are down.

#include <set>

#include "KeyTranslation.h"

class FakeKeyboard : public KeyStateSource {
public:
    std::set<int32_t> held;
    bool shift = false;
    bool capsLock = false;
    int heldQueries = 0;

    bool IsKeyHeld(int32_t code) override {
        ++heldQueries;
        return held.count(code) != 0;
    }
    bool IsShiftHeld() override { return shift; }
    bool IsCapsLockOn() override { return capsLock; }
};
