#include "LayoutNotice.h"

namespace {

// The balloon holds 255 characters: a long message is cut, so that the
// command which lists everything always fits.
constexpr std::size_t kMaxMessage = 120;

std::string Shortened(const std::string& message) {
    return message.size() <= kMaxMessage ? message : message.substr(0, kMaxMessage - 3) + "...";
}

}  // namespace

std::optional<LayoutNotice> NoticeForLayout(const char* fileName, bool readable, const LayoutCheckReport& report,
                                            bool previousStays, bool welsh) {
    if (readable && report.diagnostics.empty()) return std::nullopt;
    const std::string file(fileName);
    const std::string command = "marnell-layout check " + file;
    LayoutNotice notice;
    notice.title = "Marnell: " + file;

    std::string finding;
    if (!readable) {
        finding = welsh ? "Ni ellir darllen " + file + "." : file + " cannot be read.";
    } else {
        // The first finding in file order; the checker lists the file as a
        // whole (line 0) before the lines.
        const LayoutDiagnostic& first = report.diagnostics.front();
        if (first.line == 0)
            finding = welsh ? "Mae gwall yn " + file + "." : file + ": " + Shortened(first.message) + ".";
        else if (welsh)
            finding = "Llinell " + std::to_string(first.line) + " o " + file + ": mae gwall yma.";
        else
            finding = "Line " + std::to_string(first.line) + ": " + Shortened(first.message) + ".";
    }
    const std::string inUse = previousStays
                                  ? (welsh ? "Mae'r cynllun blaenorol yn dal i gael ei ddefnyddio."
                                           : "The previous layout stays in use.")
                                  : (welsh ? "Mae'r cynllun hwn yn cael ei ddefnyddio." : "This layout is in use.");
    const std::string every = welsh ? "I weld pob canfyddiad: " + command : "To list every finding: " + command;
    notice.text = finding + " " + inUse + " " + every;
    return notice;
}
