#include <gtest/gtest.h>

#include <string>

#include "ExcludedPrograms.h"

namespace {

using namespace std::string_literals;

// The same list in every encoding that Notepad and other editors save.
TEST(ExcludedPrograms, EveryEncodingGivesTheSameListWithCommentsBlanksAndSpacesIgnored) {
    const std::string utf8 = "# Programs Marnell stays out of\r\n\r\n  mstsc.exe  # remote desktop\r\n\tG\xC3\xAAm.exe\r\n#vmware.exe\r\nlast.exe";
    const std::string ansi = "# Programs Marnell stays out of\r\n\r\n  mstsc.exe  # remote desktop\r\n\tG\xEAm.exe\r\n#vmware.exe\r\nlast.exe";
    std::string utf16 = "\xFF\xFE";
    for (const char16_t c : u"# Programs Marnell stays out of\r\n\r\n  mstsc.exe  # remote desktop\r\n\tG\u00EAm.exe\r\n#vmware.exe\r\nlast.exe"s) {
        utf16.push_back(static_cast<char>(c & 0xFF));
        utf16.push_back(static_cast<char>(c >> 8));
    }
    const std::u16string expected[] = {u"mstsc.exe", u"g\u00EAm.exe", u"last.exe"};
    for (const std::string& file : {utf8, "\xEF\xBB\xBF" + utf8, ansi, utf16}) {
        SCOPED_TRACE(file.substr(0, 3));
        const ExcludedPrograms list = ExcludedPrograms::Parse(file);
        EXPECT_EQ(list.Names(), (std::vector<std::u16string>(std::begin(expected), std::end(expected))));
        EXPECT_TRUE(list.Contains(u"MSTSC.EXE"));
        EXPECT_TRUE(list.Contains(u"G\u00CAM.exe")) << "Latin-1 letters ignore case too";
        EXPECT_FALSE(list.Contains(u"vmware.exe")) << "a commented line lists nothing";
        EXPECT_FALSE(list.Contains(u"mstsc"));
        EXPECT_FALSE(list.Contains(u""));
    }
    EXPECT_TRUE(ExcludedPrograms::Parse("").empty());
    EXPECT_TRUE(ExcludedPrograms::Parse("\xFF\xFE").empty());
    EXPECT_TRUE(ExcludedPrograms::Parse("# nothing but a comment\n   \n").empty());
}

TEST(ExcludedPrograms, BadInputGivesADefinedBoundedList) {
    // A NUL inside a line names no program; the lines around it still count.
    EXPECT_EQ(ExcludedPrograms::Parse("a.exe\nb\0c.exe\nd.exe"s).Names(), (std::vector<std::u16string>{u"a.exe", u"d.exe"}));
    // Truncated and malformed sequences: never read past the end.
    for (const std::string& file : {"\xEF\xBB\xBF" "a\xE2\x82"s, "\xFF\xFE" "a"s, "\xFE\xFF\x00"s, "\xF4\x90\x80\x80"s}) {
        const ExcludedPrograms list = ExcludedPrograms::Parse(file);
        EXPECT_LE(list.Names().size(), 1u);
    }
    // A line longer than the file's readable part, and a file of many megabytes:
    // only the first 64 KiB count.
    const std::string huge = "first.exe\n" + std::string(8 * 1024 * 1024, 'x') + "\nlate.exe\n";
    const ExcludedPrograms list = ExcludedPrograms::Parse(huge);
    ASSERT_EQ(list.Names().size(), 2u);
    EXPECT_EQ(list.Names()[0], u"first.exe");
    EXPECT_EQ(list.Names()[1].size(), ExcludedPrograms::kMaxFileBytes - 10);
    EXPECT_FALSE(list.Contains(u"late.exe"));
    // Many lines, each once.
    std::string repeated;
    for (int i = 0; i < 1000; ++i) repeated += "same.exe\r\n";
    EXPECT_EQ(ExcludedPrograms::Parse(repeated).Names().size(), 1u);
}

}  // namespace
