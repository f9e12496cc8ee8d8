#include <gtest/gtest.h>

#include "CharacterNames.h"

namespace {

TEST(CharacterNamesTest, WelshLettersHaveTheirNamesInBothLanguagesAndTheirBase) {
    EXPECT_EQ(UnicodeName(0x175), "LATIN SMALL LETTER W WITH CIRCUMFLEX");
    EXPECT_EQ(EnglishName(0x175), "w with circumflex");
    EXPECT_EQ(EnglishName(0x174), "W with circumflex");
    EXPECT_EQ(WelshName(0x175), "w to bach");
    EXPECT_EQ(WelshName(0x176), "Y to bach");
    EXPECT_EQ(WelshName(0x1E83), "w acen ddyrchafedig");
    EXPECT_EQ(WelshName(0xC8), "E acen ddisgynedig");
    EXPECT_EQ(WelshName(0xEF), "i didolnod");
    EXPECT_EQ(BaseCharacter(0x1E83), U'w');
    // Two marks, or a mark Welsh does not write: the English name.
    EXPECT_EQ(WelshName(0x1D8), "u with diaeresis and acute");
    EXPECT_EQ(BaseCharacter(0x1D8), U'u');
    EXPECT_EQ(WelshName(0xE3), "a with tilde");
}

TEST(CharacterNamesTest, OtherBlocksAreNamedInLowerCaseAndTheRestNotAtAll) {
    EXPECT_EQ(EnglishName(0x20AC), "euro sign");
    EXPECT_EQ(WelshName(0x2192), "rightwards arrow");
    EXPECT_EQ(EnglishName(0x3B1), "greek small letter alpha");
    EXPECT_EQ(EnglishName(0x416), "cyrillic capital letter zhe");
    EXPECT_EQ(EnglishName(U'A'), "A");
    EXPECT_EQ(EnglishName(0x07), "");      // a control
    EXPECT_EQ(EnglishName(0x4E00), "");    // outside the named blocks
    EXPECT_EQ(EnglishName(0x1F600), "");
    EXPECT_EQ(BaseCharacter(0x1F600), char32_t(0x1F600));
}

}  // namespace
