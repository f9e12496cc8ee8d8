#pragma once
// The names a person knows a character by, in English and in Welsh, for the
// blocks a keyboard user meets: Latin, combining marks, Greek, Cyrillic,
// punctuation, currency, letterlike symbols, number forms, arrows and
// mathematical operators. Other characters have no name here (their code
// point stands for them). The table is generated from the Unicode Character
// Database by make-names.py. Platform-free; UTF-8.

#include <string>

// The name Unicode gives the character: "LATIN SMALL LETTER W WITH CIRCUMFLEX".
std::string UnicodeName(char32_t c);
// The everyday English name: "w with circumflex", "W with circumflex" for a
// Latin letter, the rest in lower case ("euro sign", "greek small letter alpha").
std::string EnglishName(char32_t c);
// The Welsh name of a Latin letter with one of the marks Welsh uses ("w to
// bach", "a acen ddyrchafedig", "e acen ddisgynedig", "i didolnod"); the
// English name for every other character.
std::string WelshName(char32_t c);
// The character without its accents ('w' for ŵ, 'u' for ǘ), for search that
// ignores them; the character itself when it has none.
char32_t BaseCharacter(char32_t c);
