#pragma once
// The product's UTF-8 text at the edge of the wide Windows calls that the
// windows showing characters make: UTF-16 in wchar_t, which is 16 bits on
// Windows. The conversions themselves are engine/Unicode.h's.

#include <string>
#include <string_view>

#include "Unicode.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

inline std::wstring WideFromUtf8(std::string_view utf8) {
    const std::u16string text = Utf16FromUtf8(utf8);
    return std::wstring(text.begin(), text.end());
}

inline std::string Utf8FromWide(std::wstring_view wide) {
    return Utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

inline std::wstring WideOf(char32_t character) {
    std::u16string text;
    AppendUtf16(text, character);
    return std::wstring(text.begin(), text.end());
}
