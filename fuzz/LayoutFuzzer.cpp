// Feeds arbitrary bytes to the layout reader by the same code the file path
// uses, activates what it yields and drives the engine with a few events.
#include <cstddef>
#include <cstdint>
#include <string>

#include "KeyTranslation.h"
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
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
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
