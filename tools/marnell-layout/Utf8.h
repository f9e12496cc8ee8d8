#pragma once
// UTF-8 for the characters a layout types, one code point at a time.

#include <string>

// Appends `codePoint` as UTF-8. A surrogate (0xD800..0xDFFF) is no character on
// its own and a value past U+10FFFF none at all: either is written as U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);
