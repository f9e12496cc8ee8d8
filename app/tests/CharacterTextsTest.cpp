#include <gtest/gtest.h>

#include <string>

#include "CharacterTexts.h"
#include "Unicode.h"

namespace {

constexpr int kAltGr = 165, kQuote = 222, kTwo = 50, kA = 65, kE = 69, kW = 87;

std::string Named(int vk) { return vk == kAltGr ? "AltGr" : vk == kQuote ? "'" : std::string(1, char(vk)); }

// Every direct chord of the Welsh vowels and two accents of them, as the
// shipped layout has.
LayoutChords Welsh(int vowelsPerAccent) {
    LayoutChords chords;
    chords.activationKeys = {kAltGr};
    const int keys[] = {kA, kE, 'I', 'O', 'U', kW, 'Y'};
    const int32_t lower[] = {0xE2, 0xEA, 0xEE, 0xF4, 0xFB, 0x175, 0x177};
    const int32_t upper[] = {0xC2, 0xCA, 0xCE, 0xD4, 0xDB, 0x174, 0x176};
    for (int i = 0; i < 7; ++i) chords.chords.push_back({0, keys[i], lower[i], upper[i]});
    for (const int accent : {kQuote, kTwo})
        for (int i = 0; i < vowelsPerAccent; ++i) chords.chords.push_back({accent, keys[i], 0xE1 + i, 0xC1 + i});
    return chords;
}

// How many characters the lines show: each arrow, or each glyph after "then:".
std::size_t CharactersShown(const PanelText& panel) {
    std::size_t count = 0;
    for (const std::string& line : panel.lines) {
        for (std::size_t at = line.find("→"); at != std::string::npos; at = line.find("→", at + 1)) ++count;
        const std::size_t colon = line.find(':');
        if (line.find("→") == std::string::npos && colon != std::string::npos &&
            line.find("more") == std::string::npos && line.find("arall") == std::string::npos)
            for (std::size_t at = colon + 1; at < line.size(); ++at) count += line[at] == ' ' ? 1 : 0;
    }
    return count;
}

TEST(CharacterTextsTest, ThePanelShowsEveryChordOnceOrSaysHowManyItCut) {
    const LayoutChords chords = Welsh(7);
    const PanelText all = PanelTextFor(chords, Named, false, 0, 20, false);
    EXPECT_EQ(all.heading, "Hold AltGr and press:");
    ASSERT_EQ(all.lines.size(), 3u);  // the 7 direct chords on one line, one line per accent
    EXPECT_EQ(all.lines[0].rfind("A → â   E → ê", 0), 0u) << all.lines[0];
    EXPECT_EQ(all.lines[1].rfind("' then: á â", 0), 0u) << all.lines[1];
    EXPECT_EQ(CharactersShown(all), chords.chords.size());

    EXPECT_NE(PanelTextFor(chords, Named, true, 0, 20, false).lines[0].find("W → Ŵ"), std::string::npos);

    for (std::size_t maxLines = 1; maxLines < all.lines.size(); ++maxLines) {
        const PanelText cut = PanelTextFor(chords, Named, false, 0, maxLines, false);
        ASSERT_EQ(cut.lines.size(), maxLines);
        const std::string& last = cut.lines.back();
        const std::size_t more = std::stoul(last.substr(last.find(' ') + 1));
        EXPECT_EQ(CharactersShown(cut) + more, chords.chords.size()) << last;
        EXPECT_NE(last.find("Characters…"), std::string::npos);
    }
}

TEST(CharacterTextsTest, AnArmedAccentShowsOnlyItsOwnChoices) {
    const PanelText accent = PanelTextFor(Welsh(3), Named, false, kTwo, 20, false);
    EXPECT_EQ(accent.heading, "2 then:");
    ASSERT_EQ(accent.lines.size(), 1u);
    EXPECT_EQ(accent.lines[0], "A → á   E → â   I → ã");
}

TEST(CharacterTextsTest, WelshTextsCarryNoEnglishWords) {
    const LayoutChords chords = Welsh(7);
    std::string all;
    const PanelText panel = PanelTextFor(chords, Named, false, 0, 3, true);
    all += panel.heading;
    for (const std::string& line : panel.lines) all += " " + line;
    all += " " + PanelTextFor(chords, Named, false, kQuote, 3, true).heading;
    all += " " + ShowCharactersMenuText(chords, Named, true);
    all += " " + KeysOfChord(chords, chords.chords[8], Named, true);
    const auto welcome = WelcomeFor(chords, Named, true);
    ASSERT_TRUE(welcome);
    all += " " + welcome->title + " " + welcome->text;
    for (const char* english : {"Hold", "press", "then", "more", "Characters", "Show", "while", "types", "running"})
        EXPECT_EQ(all.find(english), std::string::npos) << english << " in: " << all;
    EXPECT_NE(all.find("AltGr+' wedyn E"), std::string::npos) << all;
}

TEST(CharacterTextsTest, TheWelcomeShowsAChordOfTheLayout) {
    const auto welcome = WelcomeFor(Welsh(0), Named, false);
    ASSERT_TRUE(welcome);
    EXPECT_EQ(welcome->text, "AltGr+W types ŵ. Hold AltGr to see the rest.");
    LayoutChords other;
    other.chords.push_back({kQuote, kE, 0xE9, 0xC9});  // no ŵ, no activation key
    EXPECT_EQ(WelcomeFor(other, Named, false)->text, "' then E types é.");
    EXPECT_FALSE(WelcomeFor(LayoutChords{}, Named, false));
    EXPECT_EQ(ShowCharactersMenuText(Welsh(0), Named, false), "Show characters while AltGr is held");
}

}  // namespace
