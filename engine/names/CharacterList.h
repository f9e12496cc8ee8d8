#pragma once
// The characters a layout types, each once, as a person looks for them: the
// character, the keys of every chord that types it, its code point and its
// names in English and Welsh. And the search through them: every word of the
// query must match the character itself, its keys, its code point (with or
// without "U+") or the start of a word of either name (a single letter: a
// whole word), in either language, ignoring case and accents. Platform-free;
// UTF-8.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "LayoutChords.h"

struct ListedCharacter {
    char32_t character = 0;
    std::vector<std::string> keys;  // one text per chord that types it
    std::string english, welsh;
};

// The keys of one chord as the caller writes them ("AltGr+' then A", in the
// language and with the key names of its choice).
using ChordKeysText = std::function<std::string(const LayoutChord&)>;

// In the layout's own order, each character's lower case before its upper.
std::vector<ListedCharacter> ListCharacters(const LayoutChords& chords, const ChordKeysText& keysOf);

// The indexes of the characters that match `query`, in list order, except
// that an exact match of the character or its code point comes first. An
// empty query matches them all.
std::vector<std::size_t> SearchCharacters(const std::vector<ListedCharacter>& list, std::string_view query);
