#include "LayoutExplain.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "KeyNames.h"
#include "KeyTranslation.h"
#include "LayoutChords.h"
#include "Unicode.h"

namespace {

std::string MarkdownEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (std::strchr("\\`*_[]<>|~", c) != nullptr && c != '\0') out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

// The character a row types and its code point; controls, space and lone
// surrogates have no glyph of their own, only the code point.
std::string Shown(int32_t value, bool markdown) {
    const char32_t typed = CharacterToType(value);
    const std::string hex = CodePointName(typed);
    const bool visible = typed > 0x20 && !(typed >= 0x7F && typed <= 0x9F) && !(typed >= 0xD800 && typed <= 0xDFFF);
    if (!visible) return hex;
    std::string glyph;
    AppendUtf8(glyph, typed);
    return (markdown ? MarkdownEscaped(glyph) : glyph) + " " + hex;
}

struct Entry {
    std::string keys;  // e.g. "AltGr+' then A"
    int32_t lower;
    int32_t upper;
};

}  // namespace

std::string ExplainLayout(const LayoutTables& t, bool markdown) {
    const LayoutChords described = DescribeChords(t);
    std::string hold;
    for (const int code : described.activationKeys) hold += (hold.empty() ? "" : "+") + KeyName(code);
    const std::string prefix = hold.empty() ? "" : hold + "+";
    std::vector<Entry> entries;
    for (const LayoutChord& c : described.chords) {
        const std::string keys =
            c.modifierKey == 0 ? KeyName(c.key) : KeyName(c.modifierKey) + " then " + KeyName(c.key);
        entries.push_back({prefix + keys, c.lower, c.upper});
    }
    const std::size_t neverTyped = described.rowsNeverTyped;

    std::string out = "Activation keys: " + (hold.empty() ? std::string("none (every key stroke is admitted)") : hold);
    out += markdown ? "\n\n| Keys | Lower case | Upper case |\n| --- | --- | --- |\n" : "\n";
    for (const Entry& e : entries) {
        if (markdown) {
            out += "| " + MarkdownEscaped(e.keys) + " | " + Shown(e.lower, true) + " | " + Shown(e.upper, true) + " |\n";
        } else {
            out += e.keys + " \xE2\x86\x92 " + Shown(e.lower, false) + " / " + Shown(e.upper, false) + "\n";
        }
    }
    if (neverTyped != 0) {
        out += std::string(markdown ? "\n" : "") + "Rows not shown, as no chord or sequence types them: " +
               std::to_string(neverTyped) + "\n";
    }
    return out;
}
