#pragma once
// What a layout types, as a keyboard user reaches it: the activation keys to
// hold, and each chord (a key pressed while they are held) or sequence (a
// modifier key that arms an accent, then a key) that takes effect, with the
// values it types in lower and upper case, in the layout's own order. Rows
// that no chord or sequence reaches are only counted. Everything that shows
// the chords to a person is built from this one description; the caller
// names the keys. Platform-free.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "LayoutTables.h"

struct LayoutChord {
    int modifierKey = 0;  // the key that arms the accent first; 0 for a chord
    int key = 0;
    int32_t lower = 0;  // row values: CharacterToType gives what is typed
    int32_t upper = 0;
};

struct LayoutChords {
    std::vector<int> activationKeys;  // held together; none admits every key stroke
    std::vector<LayoutChord> chords;
    std::size_t rowsNeverTyped = 0;
};

LayoutChords DescribeChords(const LayoutTables& tables);
