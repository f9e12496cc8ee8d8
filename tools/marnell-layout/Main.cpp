// marnell-layout: tells a layout author what the reader makes of a layout file.
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "LayoutCheck.h"
#include "LayoutExplain.h"
#include "LayoutFile.h"
#include "LayoutFileRead.h"
#include "Simulate.h"

#ifdef _WIN32
#include <windows.h>
#endif

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

// The reader's own read of the file.
int Check(const char* path) {
    std::string bytes;
    const bool readable = ReadLayoutFileBytes(path, bytes);
    const LayoutCheckReport report = CheckReadLayout(readable, bytes);
    std::cout << FormatDiagnostics(path, report);
    return CheckExitCode(report);
}

int Explain(const char* path, bool markdown) {
    if (!Load(path)) return 2;
    LayoutTables tables;
    tables.ActivationKeys = GetActivationKeys();
    tables.ModifierKeys = GetModifierKeys();
    tables.KeyCodes = GetKeyCodes();
    tables.ModifierIndexes = GetModifierIndexes();
    tables.LowerChars = GetLowerChars();
    tables.UpperChars = GetUpperChars();
    std::cout << ExplainLayout(tables, markdown);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // explain writes UTF-8; a console would otherwise show it in its OEM code page.
    SetConsoleOutputCP(CP_UTF8);
#endif
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0) return Dump(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "simulate") == 0) return Simulate(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "check") == 0) return Check(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "explain") == 0) return Explain(argv[2], false);
    if (argc == 4 && std::strcmp(argv[1], "explain") == 0 && std::strcmp(argv[3], "--markdown") == 0) {
        return Explain(argv[2], true);
    }
    std::cerr << "usage: marnell-layout dump FILE\n"
                 "       marnell-layout simulate FILE < events\n"
                 "       marnell-layout check FILE\n"
                 "       marnell-layout explain FILE [--markdown]\n";
    return 2;
}
