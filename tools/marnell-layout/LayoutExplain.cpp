#include "LayoutExplain.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "KeyNames.h"
#include "KeyTranslation.h"
#include "Utf8.h"

namespace {

bool IsTranslatable(int code) {
    return code >= 1 && code <= 254 &&
           std::find(PassThroughKeys.begin(), PassThroughKeys.end(), static_cast<uint32_t>(code)) ==
               PassThroughKeys.end();
}

bool HasChordRow(const LayoutTables& t, int code) {
    for (std::size_t i = 0; i < t.KeyCodes.size(); ++i) {
        if (t.KeyCodes[i] == code && t.ModifierIndexes[i] == 0) return true;
    }
    return false;
}

// The keys that arm modifier index `index`: a key arms the index of its last
// entry in the modifier list (low 8 bits), unless a chord row claims the key.
std::vector<int> KeysArming(const LayoutTables& t, unsigned index) {
    std::vector<int> keys;
    for (std::size_t k = 1; k < t.ModifierKeys.size(); ++k) {
        const int code = t.ModifierKeys[k];
        if ((k & 0xFFu) != index || !IsTranslatable(code) || HasChordRow(t, code)) continue;
        if (std::find(t.ModifierKeys.begin() + static_cast<std::ptrdiff_t>(k) + 1, t.ModifierKeys.end(), code) !=
            t.ModifierKeys.end()) {
            continue;
        }
        keys.push_back(code);
    }
    return keys;
}

bool IsOverriddenLater(const LayoutTables& t, std::size_t row) {
    for (std::size_t j = row + 1; j < t.KeyCodes.size(); ++j) {
        if (t.KeyCodes[j] == t.KeyCodes[row] && t.ModifierIndexes[j] == t.ModifierIndexes[row]) return true;
    }
    return false;
}

std::string MarkdownEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (std::strchr("\\`*_[]<>|~", c) != nullptr && c != '\0') out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

// The character a row types (the low 16 bits) and its code point; controls,
// space and lone surrogates have no glyph of their own, only the code point.
std::string Shown(int32_t value, bool markdown) {
    const char16_t unit = static_cast<char16_t>(static_cast<uint32_t>(value) & 0xFFFFu);
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(unit));
    const bool visible = unit > 0x20 && !(unit >= 0x7F && unit <= 0x9F) && !(unit >= 0xD800 && unit <= 0xDFFF);
    if (!visible) return hex;
    std::string glyph;
    AppendUtf8(glyph, unit);
    return (markdown ? MarkdownEscaped(glyph) : glyph) + " " + hex;
}

struct Entry {
    std::string keys;  // e.g. "AltGr+' then A"
    int32_t lower;
    int32_t upper;
};

}  // namespace

std::string ExplainLayout(const LayoutTables& t, bool markdown) {
    std::string hold;
    for (const int16_t code : t.ActivationKeys) hold += (hold.empty() ? "" : "+") + KeyName(code);
    const std::string prefix = hold.empty() ? "" : hold + "+";

    std::vector<Entry> entries;
    std::size_t neverTyped = 0;
    for (std::size_t i = 0; i < t.KeyCodes.size(); ++i) {
        const int code = t.KeyCodes[i];
        const unsigned index = t.ModifierIndexes[i];
        if (!IsTranslatable(code) || IsOverriddenLater(t, i)) {
            ++neverTyped;
            continue;
        }
        if (index == 0) {
            entries.push_back({prefix + KeyName(code), t.LowerChars[i], t.UpperChars[i]});
            continue;
        }
        const std::vector<int> arming = KeysArming(t, index);
        if (arming.empty()) ++neverTyped;
        for (const int modifier : arming) {
            entries.push_back({prefix + KeyName(modifier) + " then " + KeyName(code), t.LowerChars[i], t.UpperChars[i]});
        }
    }

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
