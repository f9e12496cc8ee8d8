#include "Simulate.h"

#include <cstdint>
#include <cstdio>
#include <istream>
#include <ostream>
#include <set>
#include <sstream>
#include <string>

#include "KeyTranslation.h"

namespace {

class SimulatedKeyboard : public KeyStateSource {
public:
    bool IsKeyHeld(int32_t code) override { return held_.count(static_cast<int64_t>(code)) != 0; }
    bool IsShiftHeld() override { return held_.count(16) || held_.count(160) || held_.count(161); }
    bool IsCapsLockOn() override { return capsLock; }

    // A key is held from a key-down that reached the system until its next key-up.
    void Apply(KeyEventKind kind, uint32_t code, const KeyDecision& decision) {
        if (kind == KeyEventKind::KeyUp) {
            held_.erase(code);
        } else if (!decision.swallow) {
            held_.insert(code);
        }
    }

    bool capsLock = false;

private:
    std::set<int64_t> held_;
};

bool ParseCode(const std::string& text, uint32_t& code) {
    if (text.empty() || text.size() > 10) return false;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10u + static_cast<uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFull) return false;
    code = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

int SimulateKeyEvents(std::istream& in, std::ostream& out, std::ostream& err) {
    SimulatedKeyboard keyboard;
    std::string line;
    for (unsigned long number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;

        std::istringstream words(line);
        std::string verb, argument, extra;
        words >> verb >> argument;
        const bool oneArgument = !argument.empty() && !(words >> extra);
        if (oneArgument && verb == "caps" && (argument == "on" || argument == "off")) {
            keyboard.capsLock = argument == "on";
            continue;
        }
        uint32_t code = 0;
        if (!oneArgument || (verb != "down" && verb != "up") || !ParseCode(argument, code)) {
            err << "error: line " << number << ": expected \"down N\", \"up N\", \"caps on\" or \"caps off\", got \""
                << line << "\"\n";
            return 2;
        }
        const KeyEventKind kind = verb == "down" ? KeyEventKind::KeyDown : KeyEventKind::KeyUp;
        const KeyDecision decision = ProcessKeyEvent(kind, code, keyboard);
        keyboard.Apply(kind, code, decision);
        if (decision.character) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(*decision.character));
            out << "type U+" << hex << '\n';
        } else {
            out << (decision.swallow ? "swallow" : "pass") << '\n';
        }
    }
    return 0;
}
