#include "CharacterTexts.h"

#include <algorithm>

#include "KeyTranslation.h"
#include "Unicode.h"

namespace {

constexpr std::size_t kChordsPerLine = 8;  // the seven Welsh vowels on one line
constexpr char32_t kWWithCircumflex = 0x0175;

std::string Glyph(int32_t value) {
    std::string text;
    AppendUtf8(text, CharacterToType(value));
    return text;
}

std::string Then(bool welsh) { return welsh ? " wedyn " : " then "; }

// The accent keys in the order the layout first uses them.
std::vector<int> AccentKeys(const LayoutChords& chords) {
    std::vector<int> keys;
    for (const LayoutChord& chord : chords.chords)
        if (chord.modifierKey != 0 && std::find(keys.begin(), keys.end(), chord.modifierKey) == keys.end())
            keys.push_back(chord.modifierKey);
    return keys;
}

struct CountedLine {
    std::string text;
    std::size_t characters;  // how many characters the line shows
};

// "W → ŵ   Y → ŷ": the chords after `accentKey` (0: the direct chords),
// kChordsPerLine to a line.
template <typename Typed>
std::vector<CountedLine> ChordLines(const LayoutChords& chords, int accentKey, const KeyNamer& nameOf,
                                    const Typed& typed) {
    std::vector<CountedLine> lines;
    for (const LayoutChord& c : chords.chords) {
        if (c.modifierKey != accentKey) continue;
        if (lines.empty() || lines.back().characters == kChordsPerLine)
            lines.push_back({"", 0});
        else
            lines.back().text += "   ";
        lines.back().text += nameOf(c.key) + " → " + typed(c);
        ++lines.back().characters;
    }
    return lines;
}

std::string MoreLine(std::size_t count, bool welsh) {
    const std::string n = std::to_string(count);
    return welsh ? "a " + n + " arall: mae Nodau… yn newislen yr hambwrdd yn eu rhestru i gyd"
                 : "and " + n + " more: Characters… in the tray menu lists them all";
}

}  // namespace

std::string ActivationKeysText(const LayoutChords& chords, const KeyNamer& nameOf) {
    std::string text;
    for (const int key : chords.activationKeys) {
        if (!text.empty()) text += "+";
        text += nameOf(key);
    }
    return text;
}

std::string KeysOfChord(const LayoutChords& chords, const LayoutChord& chord, const KeyNamer& nameOf, bool welsh) {
    std::string held = ActivationKeysText(chords, nameOf);
    if (!held.empty()) held += "+";
    if (chord.modifierKey == 0) return held + nameOf(chord.key);
    return held + nameOf(chord.modifierKey) + Then(welsh) + nameOf(chord.key);
}

PanelText PanelTextFor(const LayoutChords& chords, const KeyNamer& nameOf, bool upper, int accentKey,
                       std::size_t maxLines, bool welsh) {
    const auto typed = [upper](const LayoutChord& c) { return Glyph(upper ? c.upper : c.lower); };
    const std::string then = welsh ? " wedyn:" : " then:";
    PanelText panel;
    std::vector<CountedLine> lines;
    if (accentKey != 0) {
        panel.heading = nameOf(accentKey) + then;
        lines = ChordLines(chords, accentKey, nameOf, typed);
    } else {
        const std::string held = ActivationKeysText(chords, nameOf);
        panel.heading = welsh ? "Daliwch " + held + " a gwasgu:" : "Hold " + held + " and press:";
        lines = ChordLines(chords, 0, nameOf, typed);
        for (const int accent : AccentKeys(chords)) {
            CountedLine line{nameOf(accent) + then, 0};
            for (const LayoutChord& c : chords.chords)
                if (c.modifierKey == accent) {
                    line.text += " " + typed(c);
                    ++line.characters;
                }
            lines.push_back(std::move(line));
        }
    }
    // A cut text gives its last line to saying so.
    const std::size_t shown = lines.size() <= maxLines ? lines.size() : (maxLines == 0 ? 0 : maxLines - 1);
    std::size_t more = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i < shown)
            panel.lines.push_back(lines[i].text);
        else
            more += lines[i].characters;
    }
    if (shown < lines.size() && maxLines > 0) panel.lines.push_back(MoreLine(more, welsh));
    return panel;
}

std::string ShowCharactersMenuText(const LayoutChords& chords, const KeyNamer& nameOf, bool welsh) {
    const std::string held = ActivationKeysText(chords, nameOf);
    if (held.empty()) return welsh ? "Dangos y nodau" : "Show characters";
    return welsh ? "Dangos y nodau wrth ddal " + held : "Show characters while " + held + " is held";
}

std::optional<WelcomeText> WelcomeFor(const LayoutChords& chords, const KeyNamer& nameOf, bool welsh) {
    if (chords.chords.empty()) return std::nullopt;
    const LayoutChord* example = &chords.chords.front();
    for (const LayoutChord& c : chords.chords)
        if (CharacterToType(c.lower) == kWWithCircumflex) {
            example = &c;
            break;
        }
    const std::string keys = KeysOfChord(chords, *example, nameOf, welsh);
    const std::string glyph = Glyph(example->lower);
    const std::string held = ActivationKeysText(chords, nameOf);
    WelcomeText welcome;
    if (welsh) {
        welcome.title = "Mae Marnell yn rhedeg";
        welcome.text = "Mae " + keys + " yn teipio " + glyph + ".";
        if (!held.empty()) welcome.text += " Daliwch " + held + " i weld y gweddill.";
    } else {
        welcome.title = "Marnell is running";
        welcome.text = keys + " types " + glyph + ".";
        if (!held.empty()) welcome.text += " Hold " + held + " to see the rest.";
    }
    return welcome;
}
