#pragma once
// The six tables that a layout file yields. The last four are parallel: one
// entry per layout row, always of the same length.

#include <cstdint>
#include <vector>

struct LayoutTables {
    std::vector<int16_t> ActivationKeys;   // all must be held for a chord
    std::vector<int16_t> ModifierKeys;     // entry 0 is a placeholder; entry k arms modifier k
    std::vector<int16_t> KeyCodes;         // per row: the key it translates
    std::vector<uint8_t> ModifierIndexes;  // per row: the modifier that must be armed, 0 = none
    std::vector<int32_t> LowerChars;       // per row: typed when upper case is off
    std::vector<int32_t> UpperChars;       // per row: typed when upper case is on
};
