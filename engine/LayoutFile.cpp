#include "LayoutFile.h"

#include <new>
#include <string>
#include <utility>

#include "LayoutFileRead.h"
#include "LayoutText.h"

namespace {
LayoutTables& LoadedTables() {
    static LayoutTables tables;
    return tables;
}
LayoutTables& ActiveTables() {
    static LayoutTables tables;
    return tables;
}
}  // namespace

bool LoadLayoutFile(const char* path) {
    std::string bytes;
    try {
        if (!ReadLayoutFileBytes(path, bytes)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return LoadLayoutBytes(std::move(bytes));
}

bool LoadLayoutBytes(std::string bytes) {
    try {
        LayoutTables parsed;
        if (!ParseLayoutBytes(std::move(bytes), parsed)) return false;
        LoadedTables() = std::move(parsed);
        return true;
    } catch (const std::bad_alloc&) {
        return false;  // nothing was replaced yet
    }
}

std::vector<int16_t> GetActivationKeys() { return LoadedTables().ActivationKeys; }
std::vector<int16_t> GetModifierKeys() { return LoadedTables().ModifierKeys; }
std::vector<int16_t> GetKeyCodes() { return LoadedTables().KeyCodes; }
std::vector<uint8_t> GetModifierIndexes() { return LoadedTables().ModifierIndexes; }
std::vector<int32_t> GetLowerChars() { return LoadedTables().LowerChars; }
std::vector<int32_t> GetUpperChars() { return LoadedTables().UpperChars; }

void ActivateLayout(std::vector<int16_t> keyCodes, std::vector<uint8_t> modifierIndexes,
                    std::vector<int32_t> lowerChars, std::vector<int32_t> upperChars,
                    std::vector<int16_t> activationKeys, std::vector<int16_t> modifierKeys) {
    LayoutTables& active = ActiveTables();
    active.KeyCodes = std::move(keyCodes);
    active.ModifierIndexes = std::move(modifierIndexes);
    active.LowerChars = std::move(lowerChars);
    active.UpperChars = std::move(upperChars);
    active.ActivationKeys = std::move(activationKeys);
    active.ModifierKeys = std::move(modifierKeys);
}

const LayoutTables& ActiveLayout() { return ActiveTables(); }
