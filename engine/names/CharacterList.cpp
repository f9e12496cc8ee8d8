#include "CharacterList.h"

#include <algorithm>
#include <cstdint>

#include "CharacterNames.h"
#include "KeyTranslation.h"
#include "Unicode.h"

namespace {

// Lower case without accents, as search compares text.
std::u32string Folded(std::string_view utf8) {
    std::u32string out;
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = kReplacementCharacter;
        const std::size_t n = DecodeUtf8(utf8, at, c);
        at += n == 0 ? 1 : n;
        c = BaseCharacter(c);
        if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
        out.push_back(c);
    }
    return out;
}

std::vector<std::u32string> Words(const std::u32string& text, std::u32string_view separators) {
    std::vector<std::u32string> words;
    std::u32string word;
    for (const char32_t c : text) {
        if (separators.find(c) == std::u32string_view::npos) {
            word.push_back(c);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// "u+0175", or four or more hex digits: the code point written; else none.
bool IsCodePointWord(const std::u32string& word, char32_t& value) {
    const bool prefixed = word.size() > 2 && word[0] == U'u' && word[1] == U'+';
    const std::u32string digits = prefixed ? word.substr(2) : word;
    if (digits.empty() || digits.size() > 6 || (!prefixed && digits.size() < 4)) return false;
    value = 0;
    for (const char32_t d : digits) {
        const int v = d >= U'0' && d <= U'9' ? int(d - U'0') : d >= U'a' && d <= U'f' ? int(d - U'a' + 10) : -1;
        if (v < 0) return false;
        value = value * 16 + static_cast<char32_t>(v);
    }
    return true;
}

struct Searchable {
    char32_t character, foldedCharacter;
    std::vector<std::u32string> keyWords, nameWords;
};

std::string Utf8Of(char32_t c) {
    std::string glyph;
    AppendUtf8(glyph, c);
    return glyph;
}

Searchable MakeSearchable(const ListedCharacter& c) {
    Searchable s{c.character, Folded(Utf8Of(c.character)).front(), {}, {}};
    for (const std::string& keys : c.keys)
        for (std::u32string& w : Words(Folded(keys), U" +")) s.keyWords.push_back(std::move(w));
    for (const std::string* name : {&c.english, &c.welsh})
        for (std::u32string& w : Words(Folded(*name), U" -")) s.nameWords.push_back(std::move(w));
    return s;
}

// The query names this very character: the character alone, as typed, or its code point.
bool IsExactMatch(const std::vector<std::u32string>& words, std::string_view query, char32_t c) {
    if (words.size() != 1) return false;
    char32_t value = 0;
    if (IsCodePointWord(words[0], value)) return value == c;
    const std::size_t first = query.find_first_not_of(' '), last = query.find_last_not_of(' ');
    return first != std::string_view::npos && query.substr(first, last - first + 1) == Utf8Of(c);
}

bool WordMatches(const Searchable& s, const std::u32string& word) {
    char32_t value = 0;
    if (IsCodePointWord(word, value) && value == s.character) return true;
    if (word.size() == 1 && word[0] == s.foldedCharacter) return true;
    if (std::find(s.keyWords.begin(), s.keyWords.end(), word) != s.keyWords.end()) return true;
    // A longer word matches the start of a name's word, as the user types it;
    // a single letter only a whole one ("w", not the start of "with").
    return std::any_of(s.nameWords.begin(), s.nameWords.end(), [&](const std::u32string& n) {
        return word.size() == 1 ? n == word : n.compare(0, word.size(), word) == 0;
    });
}

}  // namespace

std::vector<ListedCharacter> ListCharacters(const LayoutChords& chords, const ChordKeysText& keysOf) {
    std::vector<ListedCharacter> list;
    const auto add = [&](int32_t value, const std::string& keys) {
        const char32_t c = CharacterToType(value);
        auto it = std::find_if(list.begin(), list.end(), [&](const ListedCharacter& l) { return l.character == c; });
        if (it == list.end()) it = list.insert(list.end(), ListedCharacter{c, {}, EnglishName(c), WelshName(c)});
        if (std::find(it->keys.begin(), it->keys.end(), keys) == it->keys.end()) it->keys.push_back(keys);
    };
    for (const LayoutChord& chord : chords.chords) {
        const std::string keys = keysOf(chord);
        add(chord.lower, keys);
        add(chord.upper, keys);
    }
    return list;
}

std::vector<std::size_t> SearchCharacters(const std::vector<ListedCharacter>& list, std::string_view query) {
    const std::vector<std::u32string> words = Words(Folded(query), U" ");
    std::vector<std::size_t> exact, rest;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Searchable s = MakeSearchable(list[i]);
        if (!std::all_of(words.begin(), words.end(), [&](const std::u32string& w) { return WordMatches(s, w); }))
            continue;
        const bool isExact = IsExactMatch(words, query, list[i].character);
        (isExact ? exact : rest).push_back(i);
    }
    exact.insert(exact.end(), rest.begin(), rest.end());
    return exact;
}
