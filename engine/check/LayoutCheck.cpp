#include "LayoutCheck.h"

#include <algorithm>
#include <utility>

#include "LayoutChecker.h"
#include "LayoutFileRead.h"

LayoutCheckReport LayoutChecker::Run() {
    LayoutCheckReport report;
    report.loads = ParseLayoutBytes(bytes_, tables_, this);
    if (report.loads) walkEnd_ = Length();
    CheckLineEndings();
    CheckFileWide();
    if (report.loads) report.tables = std::move(tables_);
    std::stable_sort(found_.begin(), found_.end(), [](const Found& a, const Found& b) { return a.offset < b.offset; });
    for (const Found& f : found_) {
        LayoutDiagnostic d;
        LineAndColumn(f.offset, d.line, d.column);
        d.error = f.error;
        d.message = f.message;
        report.diagnostics.push_back(std::move(d));
    }
    return report;
}

LayoutCheckReport CheckLayoutBytes(const std::string& fileBytes) { return LayoutChecker(fileBytes).Run(); }

LayoutCheckReport UnreadableLayoutReport() {
    LayoutCheckReport report;
    LayoutDiagnostic d;
    d.error = true;
    d.message = "the file cannot be opened or read (missing, not accessible, or larger than " +
                std::to_string(kMaxLayoutFileBytes / (1024 * 1024)) + " MiB): " + layout_check::kDoesNotLoad;
    report.diagnostics.push_back(d);
    return report;
}

LayoutCheckReport CheckReadLayout(bool readable, const std::string& readBytes) {
    if (!readable) return UnreadableLayoutReport();
    return CheckLayoutBytes(readBytes.substr(0, readBytes.size() >= 2 ? readBytes.size() - 2 : 0));
}

int CheckExitCode(const LayoutCheckReport& report) {
    if (!report.loads) return 2;
    return report.diagnostics.empty() ? 0 : 1;
}

std::string FormatDiagnostics(const std::string& fileName, const LayoutCheckReport& report) {
    std::string out;
    for (const LayoutDiagnostic& d : report.diagnostics) {
        out += fileName;
        if (d.line != 0) out += ":" + std::to_string(d.line) + ":" + std::to_string(d.column);
        out += d.error ? ": error: " : ": warning: ";
        out += d.message;
        out += '\n';
    }
    return out;
}
