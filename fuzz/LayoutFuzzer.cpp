// Feeds arbitrary bytes to the layout reader by the same code the file path
// uses, activates what it yields and drives the engine with a few events. The
// same bytes go through the layout checker, which must reach the reader's
// verdict and tables, and through the explainer, whose output must be UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KeyTranslation.h"
#include "LayoutCheck.h"
#include "LayoutExplain.h"
#include "LayoutFile.h"
#include "LayoutText.h"

namespace {
class EveryKeyHeld : public KeyStateSource {
public:
    bool IsKeyHeld(int32_t) override { return true; }
    bool IsShiftHeld() override { return shift; }
    bool IsCapsLockOn() override { return false; }
    bool shift = false;
};

void Require(bool condition) {
    if (!condition) std::abort();
}

bool SameTables(const LayoutTables& a, const LayoutTables& b) {
    return a.ActivationKeys == b.ActivationKeys && a.ModifierKeys == b.ModifierKeys && a.KeyCodes == b.KeyCodes &&
           a.ModifierIndexes == b.ModifierIndexes && a.LowerChars == b.LowerChars && a.UpperChars == b.UpperChars;
}

bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

void CheckAndExplain(const std::string& fileBytes) {
    LayoutTables parsed;
    const bool loads = ParseLayoutBytes(fileBytes, parsed);
    const LayoutCheckReport report = CheckLayoutBytes(fileBytes);
    Require(report.loads == loads);
    std::size_t errors = 0;
    for (const LayoutDiagnostic& d : report.diagnostics) {
        Require(d.line >= 1 && d.column >= 1 && !d.message.empty());
        errors += d.error ? 1 : 0;
    }
    Require(errors == (loads ? 0u : 1u));
    if (!loads) return;
    Require(SameTables(parsed, report.tables));
    Require(IsUtf8(ExplainLayout(parsed, false)));
    Require(IsUtf8(ExplainLayout(parsed, true)));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckAndExplain(bytes);
    bytes.append(2, '\0');
    LayoutTables tables;
    if (!ParseLayoutBytes(bytes, tables)) return 0;
    ActivateLayout(tables.KeyCodes, tables.ModifierIndexes, tables.LowerChars, tables.UpperChars,
                   tables.ActivationKeys, tables.ModifierKeys);
    EveryKeyHeld keys;
    const uint32_t codes[] = {65, 222, 69, 0xA3, 0xFFFFFE7Cu, 65};
    for (const uint32_t code : codes) {
        ProcessKeyEvent(KeyEventKind::KeyDown, code, keys);
        keys.shift = !keys.shift;
        ProcessKeyEvent(KeyEventKind::KeyUp, code, keys);
    }
    return 0;
}
