#include "Unicode.h"

std::size_t EncodeUtf16(char32_t value, char16_t (&units)[2]) {
    if (value <= 0xFFFF) {
        units[0] = static_cast<char16_t>(value);
        return 1;
    }
    if (value > 0x10FFFF) {
        units[0] = static_cast<char16_t>(kReplacementCharacter);
        return 1;
    }
    const char32_t offset = value - 0x10000;
    units[0] = static_cast<char16_t>(0xD800 + (offset >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    return 2;
}

void AppendUtf16(std::u16string& out, char32_t value) {
    char16_t units[2];
    out.append(units, EncodeUtf16(value, units));
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    unsigned long value = codePoint;
    if ((value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) value = kReplacementCharacter;
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (value >> 18)));
        out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

std::size_t DecodeUtf8(std::string_view s, std::size_t at, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (at >= s.size()) return 0;
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    std::size_t length;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

bool IsUtf8(std::string_view s) {
    char32_t c;
    for (std::size_t at = 0; at < s.size();) {
        const std::size_t n = DecodeUtf8(s, at, c);
        if (n == 0) return false;
        at += n;
    }
    return true;
}

std::string Utf8FromUtf16(std::u16string_view s) {
    std::string out;
    for (std::size_t at = 0; at < s.size(); ++at) {
        char32_t c = s[at];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && at + 1 < s.size() && s[at + 1] >= 0xDC00 && s[at + 1] <= 0xDFFF;
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (s[++at] - 0xDC00);
        AppendUtf8(out, c);  // a lone surrogate is written as U+FFFD
    }
    return out;
}

std::u16string Utf16FromUtf8(std::string_view s) {
    std::u16string out;
    char32_t c;
    for (std::size_t at = 0; at < s.size();) {
        const std::size_t n = DecodeUtf8(s, at, c);
        AppendUtf16(out, n == 0 ? kReplacementCharacter : c);
        at += n == 0 ? 1 : n;
    }
    return out;
}
