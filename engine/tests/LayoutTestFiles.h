#pragma once
// Writes layout files for tests into the temporary folder.

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <fstream>
#include <string>

#include "LayoutFile.h"
#include "LayoutTables.h"

// The worked example: right Alt activates, the ' key (222) arms modifier 1.
inline const char* const kExampleLayout =
    "NAME Example layout\r\n"
    "KEY:165;\r\n"
    "MOD:222;\r\n"
    "LAYOUT: /* key; modifier; lower; upper */\r\n"
    "65;0;225;193;\r\n"
    "69;0;233;201;\r\n"
    "65;1;226;194;\r\n"
    "69;1;234;202;\r\n";

inline std::string TempLayoutPath(const std::string& name) {
#ifdef _WIN32
    char dir[260] = {};
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
#else
    return "/tmp/" + name;
#endif
}

inline std::string WriteLayout(const std::string& name, const std::string& bytes) {
    const std::string path = TempLayoutPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

inline LayoutTables LoadedLayout() {
    return {GetActivationKeys(), GetModifierKeys(), GetKeyCodes(),
            GetModifierIndexes(), GetLowerChars(), GetUpperChars()};
}

inline void ActivateLoadedLayout() {
    ActivateLayout(GetKeyCodes(), GetModifierIndexes(), GetLowerChars(), GetUpperChars(),
                   GetActivationKeys(), GetModifierKeys());
}

inline bool operator==(const LayoutTables& a, const LayoutTables& b) {
    return a.ActivationKeys == b.ActivationKeys && a.ModifierKeys == b.ModifierKeys &&
           a.KeyCodes == b.KeyCodes && a.ModifierIndexes == b.ModifierIndexes &&
           a.LowerChars == b.LowerChars && a.UpperChars == b.UpperChars;
}
