// What explain says a layout types, key names as on a UK keyboard, and the
// UTF-8 it is written in.
#include <gtest/gtest.h>

#include <string>

#include "KeyNames.h"
#include "LayoutExplain.h"
#include "LayoutText.h"

namespace {

LayoutTables Parse(const std::string& text) {
    LayoutTables tables;
    EXPECT_TRUE(ParseLayoutBytes(text, tables));
    return tables;
}

const char* const kWorkedExample =
    "NAME Example layout\r\nKEY:165;\r\nMOD:222;\r\nLAYOUT: /* key; modifier; lower; upper */\r\n"
    "65;0;225;193;\r\n69;0;233;201;\r\n65;1;226;194;\r\n69;1;234;202;\r\n";

TEST(LayoutExplain, WorkedExampleAsLines) {
    EXPECT_EQ("Activation keys: AltGr\n"
              "AltGr+A \xE2\x86\x92 \xC3\xA1 U+00E1 / \xC3\x81 U+00C1\n"
              "AltGr+E \xE2\x86\x92 \xC3\xA9 U+00E9 / \xC3\x89 U+00C9\n"
              "AltGr+# then A \xE2\x86\x92 \xC3\xA2 U+00E2 / \xC3\x82 U+00C2\n"
              "AltGr+# then E \xE2\x86\x92 \xC3\xAA U+00EA / \xC3\x8A U+00CA\n",
              ExplainLayout(Parse(kWorkedExample), false));
}

TEST(LayoutExplain, WorkedExampleAsMarkdownTable) {
    EXPECT_EQ("Activation keys: AltGr\n\n"
              "| Keys | Lower case | Upper case |\n"
              "| --- | --- | --- |\n"
              "| AltGr+A | \xC3\xA1 U+00E1 | \xC3\x81 U+00C1 |\n"
              "| AltGr+E | \xC3\xA9 U+00E9 | \xC3\x89 U+00C9 |\n"
              "| AltGr+# then A | \xC3\xA2 U+00E2 | \xC3\x82 U+00C2 |\n"
              "| AltGr+# then E | \xC3\xAA U+00EA | \xC3\x8A U+00CA |\n",
              ExplainLayout(Parse(kWorkedExample), true));
}

TEST(LayoutExplain, RowsThatCanNeverTypeAreCountedNotListed) {
    // A pass-through key, a row overridden by a later one, an index with no
    // modifier key, and a modifier key that a chord row claims.
    const LayoutTables t = Parse(
        "KEY:165;163;\r\nMOD:192;65;\r\nLAYOUT:\r\n160;0;97;65;\r\n66;0;98;66;\r\n66;0;99;67;\r\n"
        "67;3;1;2;\r\n68;2;100;68;\r\n65;0;97;65;\r\n");
    EXPECT_EQ("Activation keys: AltGr+Right Ctrl\n"
              "AltGr+Right Ctrl+B \xE2\x86\x92 c U+0063 / C U+0043\n"
              "AltGr+Right Ctrl+A \xE2\x86\x92 a U+0061 / A U+0041\n"
              "Rows not shown, as no chord or sequence types them: 4\n",
              ExplainLayout(t, false));
}

TEST(LayoutExplain, SequencesArmedByTheLaterOfTwoEqualModifierKeys) {
    const LayoutTables t = Parse("KEY:\r\nMOD:223;223;\r\nLAYOUT:\r\n65;1;1;1;\r\n65;2;224;192;\r\n");
    EXPECT_EQ("Activation keys: none (every key stroke is admitted)\n"
              "` then A \xE2\x86\x92 \xC3\xA0 U+00E0 / \xC3\x80 U+00C0\n"
              "Rows not shown, as no chord or sequence types them: 1\n",
              ExplainLayout(t, false));
}

TEST(LayoutExplain, CharactersWithoutAGlyphShowOnlyTheirCodePoint) {
    // 0, tab, space, DEL, a lone surrogate; code points above U+FFFF show as
    // themselves, values past U+10FFFF as the low 16 bits that are typed.
    const LayoutTables t = Parse(
        "KEY:165;\r\nMOD:\r\nLAYOUT:\r\n65;0;0;9;\r\n66;0;32;127;\r\n67;0;55296;128512;\r\n68;0;4259905;0;\r\n");
    EXPECT_EQ("Activation keys: AltGr\n"
              "AltGr+A \xE2\x86\x92 U+0000 / U+0009\n"
              "AltGr+B \xE2\x86\x92 U+0020 / U+007F\n"
              "AltGr+C \xE2\x86\x92 U+D800 / \xF0\x9F\x98\x80 U+1F600\n"
              "AltGr+D \xE2\x86\x92 A U+0041 / U+0000\n",
              ExplainLayout(t, false));
}

TEST(LayoutExplain, MarkdownEscapesWhatWouldBreakTheTable) {
    const LayoutTables t = Parse("KEY:165;\r\nMOD:223;\r\nLAYOUT:\r\n220;1;124;42;\r\n");
    EXPECT_EQ("Activation keys: AltGr\n\n| Keys | Lower case | Upper case |\n| --- | --- | --- |\n"
              "| AltGr+\\` then \\\\ | \\| U+007C | \\* U+002A |\n",
              ExplainLayout(t, true));
}

TEST(KeyNames, UkKeyboardNamesAndTheFallback) {
    EXPECT_EQ("AltGr", KeyName(165));
    EXPECT_EQ("'", KeyName(192));
    EXPECT_EQ("`", KeyName(223));
    EXPECT_EQ("#", KeyName(222));
    EXPECT_EQ("2", KeyName(50));
    EXPECT_EQ("6", KeyName(54));
    EXPECT_EQ("Z", KeyName(90));
    EXPECT_EQ("F1", KeyName(112));
    EXPECT_EQ("F24", KeyName(135));
    EXPECT_EQ("Num 9", KeyName(105));
    EXPECT_EQ("VK 250", KeyName(250));
    EXPECT_EQ("VK 0", KeyName(0));
    EXPECT_EQ("VK -388", KeyName(-388));
    EXPECT_EQ("Num 1", KeyName(97));
}

}  // namespace
