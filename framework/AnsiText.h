#pragma once
// The framework's one edge between the product's narrow text (the ANSI code
// page: window and class names, the stored language) and the wide API that
// the framework calls throughout.

#include <string>

std::wstring WideFromAnsi(const char* text);  // nullptr gives ""
// Without best-fit mapping: a character the code page lacks becomes the
// default character, never a look-alike letter (a circumflexed y must not
// read as y).
std::string AnsiFromWide(const wchar_t* text);
