#pragma once
// UTF-8 for the characters a layout types: 16-bit code units, one at a time.

#include <string>

// Appends `unit` as UTF-8. A surrogate (0xD800..0xDFFF) is no character on its
// own, and one row types one code unit, so it is written as U+FFFD instead.
void AppendUtf8(std::string& out, char16_t unit);
