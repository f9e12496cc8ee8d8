#include "LayoutExplain.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "KeyNames.h"
#include "KeyTranslation.h"
#include "Unicode.h"

namespace {

bool IsTranslatable(int code) {
    return IsKeyCode(code) && !IsPassThroughKey(static_cast<uint32_t>(code));
}

// Which rows and modifier keys take effect: of two rows for the same key and
// modifier index the later wins, and a key arms the index of its last entry in
// the modifier list (low 8 bits), unless a chord row claims the key.
class Reachability {
public:
    explicit Reachability(const LayoutTables& t) {
        for (std::size_t i = 0; i < t.KeyCodes.size(); ++i) {
            lastRow_[{t.KeyCodes[i], t.ModifierIndexes[i]}] = i;
        }
        std::map<int, std::size_t> lastEntry;
        for (std::size_t k = 1; k < t.ModifierKeys.size(); ++k) lastEntry[t.ModifierKeys[k]] = k;
        for (const auto& entry : lastEntry) {
            const int code = entry.first;
            if (!IsTranslatable(code) || lastRow_.count({code, 0}) != 0) continue;
            armingKeys_[entry.second & 0xFFu].push_back(code);
        }
    }

    bool IsOverriddenLater(int code, unsigned index, std::size_t row) const {
        return lastRow_.at({code, index}) != row;
    }

    // More than one only where modifier list entries lie 256 apart.
    std::vector<int> KeysArming(unsigned index) const {
        const auto it = armingKeys_.find(index);
        return it == armingKeys_.end() ? std::vector<int>() : it->second;
    }

private:
    std::map<std::pair<int, unsigned>, std::size_t> lastRow_;
    std::map<unsigned, std::vector<int>> armingKeys_;
};

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
    std::string hold;
    for (const int16_t code : t.ActivationKeys) hold += (hold.empty() ? "" : "+") + KeyName(code);
    const std::string prefix = hold.empty() ? "" : hold + "+";

    const Reachability reach(t);
    std::vector<Entry> entries;
    std::size_t neverTyped = 0;
    for (std::size_t i = 0; i < t.KeyCodes.size(); ++i) {
        const int code = t.KeyCodes[i];
        const unsigned index = t.ModifierIndexes[i];
        if (!IsTranslatable(code) || reach.IsOverriddenLater(code, index, i)) {
            ++neverTyped;
            continue;
        }
        if (index == 0) {
            entries.push_back({prefix + KeyName(code), t.LowerChars[i], t.UpperChars[i]});
            continue;
        }
        const std::vector<int> arming = reach.KeysArming(index);
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
