#pragma once
// The layouts of the hook's tests under Wine.

#include <string>

// Activation key F24 (135), modifier key 222 as entry 1. A types U+00E1/U+00C1
// as a chord and U+00E2/U+00C2 after the modifier; O types U+00F3/U+00D3 as a
// chord only; W types U+0175/U+0174 after the modifier only; Z's character
// value 0x110000, past Unicode, types its low 16 bits, 0; X types U+1F600.
extern const std::string kTestLayout;
// The same keys, but A types U+00E0/U+00C0 as a chord.
extern const std::string kEditedLayout;
