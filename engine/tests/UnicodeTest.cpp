#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "Unicode.h"

namespace {

TEST(Utf8, EveryFormSurrogatesAndValuesPastUnicode) {
    const std::pair<char32_t, std::string> cases[] = {
        {0xFFFD, "\xEF\xBF\xBD"}, {0x10000, "\xF0\x90\x80\x80"}, {0x1F600, "\xF0\x9F\x98\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0x110000, "\xEF\xBF\xBD"},
        {0x41, "A"},           {0x7F, "\x7F"},          {0x80, "\xC2\x80"},     {0xE1, "\xC3\xA1"},
        {0x7FF, "\xDF\xBF"},   {0x800, "\xE0\xA0\x80"}, {0x1E83, "\xE1\xBA\x83"}, {0xFFFF, "\xEF\xBF\xBF"},
        {0xD800, "\xEF\xBF\xBD"}, {0xDFFF, "\xEF\xBF\xBD"}, {0xD7FF, "\xED\x9F\xBF"}, {0xE000, "\xEE\x80\x80"},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        AppendUtf8(out, c.first);
        EXPECT_EQ("x" + c.second, out) << static_cast<unsigned>(c.first);
    }
    std::string zero;
    AppendUtf8(zero, 0);
    EXPECT_EQ(std::string(1, '\0'), zero);
}

// Text in the program's two forms goes back and forth unchanged; a half pair
// comes back as U+FFFD.
TEST(Utf16, RoundTripAndLoneSurrogates) {
    const std::string text = "w \xC5\xB5 \xE1\xBA\x83 \xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8(text)), text);
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xD83D, u'a', 0xDE00}), "\xEF\xBF\xBD" "a" "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xD83D}), "\xEF\xBF\xBD");
}

}  // namespace
