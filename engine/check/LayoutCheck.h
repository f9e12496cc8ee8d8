#pragma once
// The layout checker: walks a layout file by the reader's own steps and says
// where the reader fails, and where it silently accepts something that is
// almost certainly a mistake, with the consequence in words.

#include <cstddef>
#include <string>
#include <vector>

#include "LayoutTables.h"

struct LayoutDiagnostic {
    std::size_t line = 0;  // 1-based, in the file as written; 0 for the file as a whole
    std::size_t column = 0;
    bool error = false;  // an error means the file does not load
    std::string message;
};

struct LayoutCheckReport {
    bool loads = false;
    LayoutTables tables;  // what the reader makes of the file, when it loads
    std::vector<LayoutDiagnostic> diagnostics;  // in file order
};

// `fileBytes` is the file's whole content.
LayoutCheckReport CheckLayoutBytes(const std::string& fileBytes);

// For a file that cannot be opened or read.
LayoutCheckReport UnreadableLayoutReport();

// The report on one read of the layout file: whether ReadLayoutFileBytes
// succeeded, and the bytes it gave (their two trailing zero bytes are the
// reader's, not the file's).
LayoutCheckReport CheckReadLayout(bool readable, const std::string& readBytes);

// 0: loads, nothing to say; 1: loads, with warnings; 2: does not load.
int CheckExitCode(const LayoutCheckReport& report);

// One "FILE:LINE:COLUMN: error|warning: message" line per diagnostic.
std::string FormatDiagnostics(const std::string& fileName, const LayoutCheckReport& report);
