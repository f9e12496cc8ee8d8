#include "ExcludedPrograms.h"

#include <algorithm>
#include <cstdint>

#include "Unicode.h"

namespace {

// Windows-1252 where it differs from Latin-1: 0x80..0x9F.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

std::u16string FromWindows1252(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        out.push_back(b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : static_cast<char16_t>(b));
    }
    return out;
}

std::u16string FromUtf16(std::string_view s, bool bigEndian) {
    std::u16string out;
    out.reserve(s.size() / 2);
    for (std::size_t at = 0; at + 1 < s.size(); at += 2) {
        const auto first = static_cast<unsigned char>(s[at]), second = static_cast<unsigned char>(s[at + 1]);
        out.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return out;
}

std::u16string Decode(std::string_view bytes) {
    const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xFF\xFE")) return FromUtf16(bytes.substr(2), false);
    if (starts("\xFE\xFF")) return FromUtf16(bytes.substr(2), true);
    if (starts("\xEF\xBB\xBF")) return Utf16FromUtf8(bytes.substr(3));
    return IsUtf8(bytes) ? Utf16FromUtf8(bytes) : FromWindows1252(bytes);
}

// Lower case for the letters program names use: ASCII and Latin-1.
char16_t Fold(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    return c;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == 0xA0 || c == 0xFEFF; }

}  // namespace

ExcludedPrograms ExcludedPrograms::Parse(std::string_view bytes) {
    const std::u16string text = Decode(bytes.substr(0, kMaxFileBytes));
    ExcludedPrograms list;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) end = text.size();
        std::u16string_view line(text.data() + start, end - start);
        line = line.substr(0, line.find(u'#'));
        while (!line.empty() && IsSpace(line.front())) line.remove_prefix(1);
        while (!line.empty() && IsSpace(line.back())) line.remove_suffix(1);
        if (!line.empty() && line.find(u'\0') == std::u16string_view::npos) {
            std::u16string name(line);
            std::transform(name.begin(), name.end(), name.begin(), &Fold);
            if (std::find(list.m_names.begin(), list.m_names.end(), name) == list.m_names.end())
                list.m_names.push_back(std::move(name));
        }
        start = end + 1;
    }
    return list;
}

bool ExcludedPrograms::Contains(std::u16string_view fileName) const {
    return std::any_of(m_names.begin(), m_names.end(), [&](const std::u16string& name) {
        return name.size() == fileName.size() &&
               std::equal(name.begin(), name.end(), fileName.begin(), [](char16_t a, char16_t b) { return a == Fold(b); });
    });
}
