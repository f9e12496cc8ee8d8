#include "AnsiText.h"

#include <windows.h>

std::wstring WideFromAnsi(const char* text) {
    if (text == nullptr) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

std::string AnsiFromWide(const wchar_t* text) {
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string ansi(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, &ansi[0], n, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(n - 1));
    return ansi;
}
