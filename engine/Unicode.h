#pragma once
// The program's one conversion between the forms of Unicode text: code
// points, UTF-8 and UTF-16. Platform-free. (The ANSI code page, which only
// Windows knows, is the framework's edge: framework/AnsiText.h.)

#include <cstddef>
#include <string>
#include <string_view>

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The UTF-16 units of one character value, in `units`; returns how many (1
// or 2). A value up to 0xFFFF is one unit as it stands, a lone surrogate
// too (a layout may type one); above that a surrogate pair; past U+10FFFF,
// U+FFFD. Never allocates: the keyboard hook calls it.
std::size_t EncodeUtf16(char32_t value, char16_t (&units)[2]);
void AppendUtf16(std::u16string& out, char32_t value);

// Appends `codePoint` as UTF-8. A surrogate (0xD800..0xDFFF) is no character
// on its own and a value past U+10FFFF none at all: either is written as U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// The well-formed UTF-8 sequence that starts at `at`: its length, with its
// code point in `codePoint`; 0 when none starts there.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint);
bool IsUtf8(std::string_view text);
// UTF-8 as UTF-16; a byte that starts no well-formed sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);
// UTF-16 as UTF-8; a surrogate that is not half of a pair becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
