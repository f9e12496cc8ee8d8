#include "CharacterNames.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

struct CharacterNameEntry {
    char32_t codePoint;
    std::uint16_t firstWord;  // into kNameWordIndexes
    std::uint8_t wordCount;
    char32_t base;  // of the full canonical decomposition; 0 when there is none
    char32_t marks[2];
};

#include "CharacterNameTable.inc"

const CharacterNameEntry* Find(char32_t c) {
    const auto end = std::end(kNameEntries);
    const auto it = std::lower_bound(std::begin(kNameEntries), end, c,
                                     [](const CharacterNameEntry& e, char32_t code) { return e.codePoint < code; });
    return it != end && it->codePoint == c ? &*it : nullptr;
}

std::string Lower(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return text;
}

bool IsLatinLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The marks Welsh writes on its vowels, by their combining characters.
const char* WelshMark(char32_t mark) {
    switch (mark) {
        case 0x0302: return "to bach";
        case 0x0301: return "acen ddyrchafedig";
        case 0x0300: return "acen ddisgynedig";
        case 0x0308: return "didolnod";
        default: return nullptr;
    }
}

}  // namespace

std::string UnicodeName(char32_t c) {
    const CharacterNameEntry* e = Find(c);
    if (e == nullptr) return std::string();
    std::string name;
    for (unsigned i = 0; i < e->wordCount; ++i) {
        if (i != 0) name += ' ';
        name += kNameWords[kNameWordIndexes[e->firstWord + i]];
    }
    return name;
}

std::string EnglishName(char32_t c) {
    const std::string name = UnicodeName(c);
    for (const char* prefix : {"LATIN SMALL LETTER ", "LATIN CAPITAL LETTER "}) {
        const std::string p = prefix;
        if (name.compare(0, p.size(), p) != 0) continue;
        const std::string rest = name.substr(p.size());
        const bool capital = p[6] == 'C';
        // The letter keeps its case; the words after it are lower case.
        const std::size_t space = rest.find(' ');
        const std::string letter = rest.substr(0, space);
        const std::string tail = space == std::string::npos ? std::string() : Lower(rest.substr(space));
        return (capital ? letter : Lower(letter)) + tail;
    }
    return Lower(name);
}

std::string WelshName(char32_t c) {
    const CharacterNameEntry* e = Find(c);
    if (e != nullptr && IsLatinLetter(e->base) && e->marks[1] == 0) {
        if (const char* mark = WelshMark(e->marks[0])) return std::string(1, static_cast<char>(e->base)) + " " + mark;
    }
    return EnglishName(c);
}

char32_t BaseCharacter(char32_t c) {
    const CharacterNameEntry* e = Find(c);
    return e != nullptr && e->base != 0 ? e->base : c;
}
