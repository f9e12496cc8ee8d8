#pragma once
// The layout file and the two process-wide copies of its tables: the loaded
// tables, replaced only by a successful LoadLayoutFile, and the active tables,
// replaced only by ActivateLayout and read by the key translation engine.

#include <cstdint>
#include <string>
#include <vector>

#include "LayoutTables.h"

// Reads and parses the file. True when it opened and its headers stand in
// order; the loaded tables are then replaced whole. False leaves them exactly
// as they were. Never throws.
bool LoadLayoutFile(const char* path);
// The same for bytes that ReadLayoutFileBytes has already read, so that one
// read of the file can serve the tables and whatever else is said of it.
bool LoadLayoutBytes(std::string bytes);

// The layout file the program reads, in its working directory.
constexpr char kLayoutFileName[] = "default.vmap";
constexpr char kLayoutFilePath[] = "./default.vmap";

// Copies of the loaded tables, one accessor per table.
std::vector<int16_t> GetActivationKeys();
std::vector<int16_t> GetModifierKeys();
std::vector<int16_t> GetKeyCodes();
std::vector<uint8_t> GetModifierIndexes();
std::vector<int32_t> GetLowerChars();
std::vector<int32_t> GetUpperChars();

// Makes each active table an exact copy of its argument.
void ActivateLayout(std::vector<int16_t> keyCodes, std::vector<uint8_t> modifierIndexes,
                    std::vector<int32_t> lowerChars, std::vector<int32_t> upperChars,
                    std::vector<int16_t> activationKeys, std::vector<int16_t> modifierKeys);

// The active tables, read-only.
const LayoutTables& ActiveLayout();
