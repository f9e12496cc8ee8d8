#include <gtest/gtest.h>

#include "LayoutTestFiles.h"
#include "LayoutText.h"

namespace {

LayoutTables Parse(const std::string& bytes, bool expectLoads = true) {
    LayoutTables tables;
    EXPECT_EQ(ParseLayoutBytes(bytes, tables), expectLoads) << bytes;
    return tables;
}

const std::string kHeaders = "KEY:165;\r\nMOD:222;\r\nLAYOUT:\r\n";

}  // namespace

TEST(LayoutText, WorkedExampleYieldsItsTables) {
    const LayoutTables t = Parse(kExampleLayout);
    EXPECT_EQ(t.ActivationKeys, (std::vector<int16_t>{165}));
    EXPECT_EQ(t.ModifierKeys, (std::vector<int16_t>{0, 222}));
    EXPECT_EQ(t.KeyCodes, (std::vector<int16_t>{65, 69, 65, 69}));
    EXPECT_EQ(t.ModifierIndexes, (std::vector<uint8_t>{0, 0, 1, 1}));
    EXPECT_EQ(t.LowerChars, (std::vector<int32_t>{225, 233, 226, 234}));
    EXPECT_EQ(t.UpperChars, (std::vector<int32_t>{193, 201, 194, 202}));
}

TEST(LayoutText, TrailingBlankLineAddsTheMinus388Row) {
    const LayoutTables t = Parse(std::string(kExampleLayout) + "\r\n");
    ASSERT_EQ(t.KeyCodes.size(), 5u);
    EXPECT_EQ(t.KeyCodes[4], -388);
    EXPECT_EQ(t.ModifierIndexes[4], 0);
    EXPECT_EQ(t.LowerChars[4], 0);
    EXPECT_EQ(t.UpperChars[4], 0);
}

TEST(LayoutText, WhatMayStandBeforeTheActivationLine) {
    Parse(kHeaders);                                      // no name line
    Parse("NAME a\r\n\r\nNAME b\r\n" + kHeaders);         // several, with blank lines after
    Parse("/* about */\r\n" + kHeaders, false);           // a comment alone leaves an empty line
    Parse("\r\n" + kHeaders, false);                      // a blank line
    Parse("\xEF\xBB\xBF" + kHeaders, false);              // a UTF-8 byte-order mark
    Parse("KEY:165;/* right Alt */\r\nMOD:\r\nLAYOUT:\r\n");  // a comment at the end of the line is harmless
}

TEST(LayoutText, HeadersMustStandInOrder) {
    Parse("KEY:\r\nLAYOUT:\r\nMOD:\r\n", false);
    Parse("KEY:\r\nMOD:\r\n", false);
    Parse("KEY:\r\nMODS:\r\nLAYOUT:\r\n", false);
    Parse("key:\r\nMOD:\r\nLAYOUT:\r\n", false);
    Parse("", false);
}

TEST(LayoutText, ActivationAndModifierLists) {
    LayoutTables t = Parse("KEY:\r\nMOD:\r\nLAYOUT:");
    EXPECT_TRUE(t.ActivationKeys.empty());
    EXPECT_EQ(t.ModifierKeys, (std::vector<int16_t>{0}));
    EXPECT_TRUE(t.KeyCodes.empty());  // "LAYOUT:" as the last thing: no rows

    t = Parse("KEY:165;162\r\nMOD:\r\nLAYOUT:\r\n");
    EXPECT_EQ(t.ActivationKeys, (std::vector<int16_t>{165}));  // a last number without ";" is dropped

    t = Parse("KEY:165;162;\r\nMOD:222;192;\r\nLAYOUT:\r\n");
    EXPECT_EQ(t.ActivationKeys, (std::vector<int16_t>{165, 162}));
    EXPECT_EQ(t.ModifierKeys, (std::vector<int16_t>{0, 222, 192}));
}

TEST(LayoutText, ModifierNumberWithoutSemicolonRunsOnAndTheLoadFails) {
    Parse("NAME x\r\nKEY:165;\r\nMOD:222\r\nLAYOUT:\r\n65;0;225;193;\r\n", false);
}

TEST(LayoutText, LineFeedOnlyFilesFailAtTheModifierHeader) {
    Parse("NAME x\nKEY:165;\nMOD:222;\nLAYOUT:\n65;0;225;193;\n", false);
}

TEST(LayoutText, RowsAreReadByTheNumberRule) {
    // A last row cut short gets 0 for its missing numbers.
    LayoutTables t = Parse(kHeaders + "65;0;225");
    EXPECT_EQ(t.KeyCodes, (std::vector<int16_t>{65}));
    EXPECT_EQ(t.LowerChars, (std::vector<int32_t>{225}));
    EXPECT_EQ(t.UpperChars, (std::vector<int32_t>{0}));

    // An empty field is 0; spaces anywhere vanish, also inside numbers and keywords.
    t = Parse("K E Y : 1 6 5 ;\r\nMOD:\r\nLAY OUT:\r\n6 5;;2 2 5;193;\r\n");
    EXPECT_EQ(t.ActivationKeys, (std::vector<int16_t>{165}));
    EXPECT_EQ(t.ModifierIndexes, (std::vector<uint8_t>{0}));
    EXPECT_EQ(t.LowerChars, (std::vector<int32_t>{225}));

    // Any character enters a number: 'A' is 17 past '0', and a tab is 9 - 48.
    t = Parse(kHeaders + "6A;0;1\t;0;\r\n");
    EXPECT_EQ(t.KeyCodes, (std::vector<int16_t>{6 * 10 + 17}));
    EXPECT_EQ(t.LowerChars, (std::vector<int32_t>{1 * 10 + (9 - 48)}));

    // Values keep their low bits: 16 for key codes, 8 for indexes, all 32 for characters.
    t = Parse(kHeaders + "65601;257;70000;4294967295;\r\n");
    EXPECT_EQ(t.KeyCodes, (std::vector<int16_t>{65}));
    EXPECT_EQ(t.ModifierIndexes, (std::vector<uint8_t>{1}));
    EXPECT_EQ(t.LowerChars, (std::vector<int32_t>{70000}));
    EXPECT_EQ(t.UpperChars, (std::vector<int32_t>{-1}));
}

TEST(LayoutText, LoneLineFeedShiftsTheNextRowByOneCharacter) {
    // After "1;2;3;4;" the reader skips ";\n6" - the 6 of the next row is lost.
    const LayoutTables t = Parse(kHeaders + "1;2;3;4;\n65;0;225;193;\r\n");
    ASSERT_EQ(t.KeyCodes.size(), 2u);
    EXPECT_EQ(t.KeyCodes[1], 5);
}

TEST(LayoutText, TextEndsAtItsFirstZeroByte) {
    Parse(std::string("K\0E\0Y\0:\0", 8), false);  // UTF-16
    const LayoutTables t = Parse(kHeaders + "65;0;225;193;\r\n" + std::string(1, '\0') + "69;0;233;201;\r\n");
    EXPECT_EQ(t.KeyCodes.size(), 1u);
}

TEST(LayoutText, CommentRemoval) {
    EXPECT_EQ(RemoveComments("a/**/b"), "ab");
    EXPECT_EQ(RemoveComments("a/*/b*/c"), "ac");       // the opening star is not the closing one
    EXPECT_EQ(RemoveComments("a/* x */b/* y"), "ab");  // unclosed: to the end
    EXPECT_EQ(RemoveComments("a/*x*//*y*/b"), "ab");   // comments side by side
    EXPECT_EQ(RemoveComments("a/*x\r\ny*/b"), "ab");   // across lines
    EXPECT_EQ(RemoveComments("a/*x/*y*/b*/"), "ab*/");  // no nesting
    EXPECT_EQ(RemoveComments("/"), "/");
    EXPECT_EQ(RemoveSpaces(" a \tb  "), "a\tb");
}
