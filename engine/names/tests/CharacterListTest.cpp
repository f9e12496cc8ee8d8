#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "CharacterList.h"

namespace {

constexpr int kRightAlt = 165, kApostrophe = 192, kHash = 222, kBacktick = 223;

// AltGr+A and AltGr+W give â and ŵ; ' or # then a vowel the acute; ` then E the grave.
std::vector<ListedCharacter> WelshList() {
    const LayoutTables t{
        {kRightAlt},        {0, kApostrophe, kHash, kBacktick},      {'A', 'W', 'A', 'W', 'A', 'E'},
        {0, 0, 1, 1, 2, 3}, {0xE2, 0x175, 0xE1, 0x1E83, 0xE1, 0xE8}, {0xC2, 0x174, 0xC1, 0x1E82, 0xC1, 0xC8}};
    const std::map<int, std::string> names{{kApostrophe, "'"}, {kHash, "#"}, {kBacktick, "`"},
                                           {'A', "A"},         {'W', "W"},   {'E', "E"}};
    return ListCharacters(DescribeChords(t), [&](const LayoutChord& c) {
        return "AltGr+" + (c.modifierKey != 0 ? names.at(c.modifierKey) + " then " : "") + names.at(c.key);
    });
}

std::u32string Found(const std::vector<ListedCharacter>& list, const std::string& query) {
    std::u32string found;
    for (const std::size_t i : SearchCharacters(list, query)) found += list[i].character;
    return found;
}

TEST(CharacterListTest, EachCharacterOnceInLayoutOrderLowerBeforeUpperWithEveryChordAndBothNames) {
    const std::vector<ListedCharacter> list = WelshList();
    EXPECT_EQ(Found(list, ""), U"\u00E2\u00C2\u0175\u0174\u00E1\u00C1\u1E83\u1E82\u00E8\u00C8");
    const ListedCharacter& acute = list[4];
    EXPECT_EQ(acute.keys, (std::vector<std::string>{"AltGr+' then A", "AltGr+# then A"}));
    EXPECT_EQ(list[2].english, "w with circumflex");
    EXPECT_EQ(list[2].welsh, "w to bach");
}

TEST(CharacterListTest, EveryQueryWordMustMatchIgnoringCaseAndAccentsAndExactMatchesComeFirst) {
    const std::vector<ListedCharacter> list = WelshList();
    EXPECT_EQ(Found(list, "to bach w"), U"\u0175\u0174");
    EXPECT_EQ(Found(list, "circumflex"), U"\u00E2\u00C2\u0175\u0174");
    EXPECT_EQ(Found(list, "grave e"), U"\u00E8\u00C8");
    EXPECT_EQ(Found(list, "Acen DDYRCH"), U"\u00E1\u00C1\u1E83\u1E82");
    EXPECT_EQ(Found(list, "U+0175"), U"\u0175");
    EXPECT_EQ(Found(list, "u+1e82"), U"\u1E82");
    EXPECT_EQ(Found(list, "0175"), U"\u0175");
    EXPECT_EQ(Found(list, "175"), U"");  // too short to be a code point, and nothing else
    // The character itself, accents and case aside, its exact self first.
    EXPECT_EQ(Found(list, " \u1E83 "), U"\u1E83\u0175\u0174\u1E82");
    EXPECT_EQ(Found(list, "#"), U"\u00E1\u00C1");  // its keys
    EXPECT_EQ(Found(list, "circumflex zzz"), U"");
}

}  // namespace
