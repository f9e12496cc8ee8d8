// marnell-layout: tells a layout author what the reader makes of a layout file.
#include <cstdint>
#include <cstring>
#include <iostream>
#include <vector>

#include "LayoutFile.h"
#include "Simulate.h"

namespace {

template <typename T>
void PrintTable(const char* name, const std::vector<T>& values) {
    std::cout << name << ':';
    for (const T v : values) std::cout << ' ' << static_cast<long long>(v);
    std::cout << '\n';
}

bool Load(const char* path) {
    if (LoadLayoutFile(path)) return true;
    std::cerr << "error: " << path << ": the layout file does not load (missing, unreadable, or its \"KEY:\", "
                 "\"MOD:\" or \"LAYOUT:\" header is missing or out of order)\n";
    return false;
}

int Dump(const char* path) {
    if (!Load(path)) return 1;
    PrintTable("ActivationKeys", GetActivationKeys());
    PrintTable("ModifierKeys", GetModifierKeys());
    PrintTable("KeyCodes", GetKeyCodes());
    PrintTable("ModifierIndexes", GetModifierIndexes());
    PrintTable("LowerChars", GetLowerChars());
    PrintTable("UpperChars", GetUpperChars());
    return 0;
}

int Simulate(const char* path) {
    if (!Load(path)) return 1;
    ActivateLayout(GetKeyCodes(), GetModifierIndexes(), GetLowerChars(), GetUpperChars(), GetActivationKeys(),
                   GetModifierKeys());
    return SimulateKeyEvents(std::cin, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0) return Dump(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "simulate") == 0) return Simulate(argv[2]);
    std::cerr << "usage: marnell-layout dump FILE\n"
                 "       marnell-layout simulate FILE < events\n";
    return 2;
}
