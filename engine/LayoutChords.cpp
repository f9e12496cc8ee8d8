#include "LayoutChords.h"

#include <map>
#include <utility>

#include "KeyTranslation.h"

namespace {

bool IsTranslatable(int code) { return IsKeyCode(code) && !IsPassThroughKey(static_cast<uint32_t>(code)); }

// Which rows and modifier keys take effect, as the engine decides: of two rows
// for the same key and modifier index the later wins, and a key arms the index
// of its last entry in the modifier list (low 8 bits), unless a chord row
// claims the key.
class Reachability {
public:
    explicit Reachability(const LayoutTables& t) {
        for (std::size_t i = 0; i < t.KeyCodes.size(); ++i) lastRow_[{t.KeyCodes[i], t.ModifierIndexes[i]}] = i;
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

}  // namespace

LayoutChords DescribeChords(const LayoutTables& t) {
    LayoutChords out;
    out.activationKeys.assign(t.ActivationKeys.begin(), t.ActivationKeys.end());
    const Reachability reach(t);
    for (std::size_t i = 0; i < t.KeyCodes.size(); ++i) {
        const int code = t.KeyCodes[i];
        const unsigned index = t.ModifierIndexes[i];
        if (!IsTranslatable(code) || reach.IsOverriddenLater(code, index, i)) {
            ++out.rowsNeverTyped;
            continue;
        }
        if (index == 0) {
            out.chords.push_back({0, code, t.LowerChars[i], t.UpperChars[i]});
            continue;
        }
        const std::vector<int> arming = reach.KeysArming(index);
        if (arming.empty()) ++out.rowsNeverTyped;
        for (const int modifier : arming) out.chords.push_back({modifier, code, t.LowerChars[i], t.UpperChars[i]});
    }
    return out;
}
