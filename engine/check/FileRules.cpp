// The file as a whole: its encoding, its line ends, and why it does not load.

#include <algorithm>
#include <cstring>

#include "LayoutChecker.h"

using namespace layout_check;

namespace {

const char* HeaderText(LayoutReadObserver::Header header) {
    switch (header) {
        case LayoutReadObserver::Header::Key: return "KEY:";
        case LayoutReadObserver::Header::Mod: return "MOD:";
        default: return "LAYOUT:";
    }
}

}  // namespace

// Every lone CR or LF before the point where the reader stopped that no other
// check has explained yet.
void LayoutChecker::CheckLineEndings() {
    for (std::size_t i = 0; i < walkEnd_ && i < Length(); ++i) {
        const bool crlf = At(i) == '\r' && At(i + 1) == '\n';
        if (crlf) {
            ++i;
            continue;
        }
        if (!IsBreak(At(i)) || explainedBreaks_.count(i) != 0) continue;
        const std::string alone = At(i) == '\n' ? "LF alone" : "CR alone";
        if (i < rowsStart_) {
            Warn(i, "the line ends with " + alone +
                        ", not CR LF: harmless on this line, but the activation and modifier lines and the "
                        "rows need CR LF");
        } else if (i + 1 >= Length()) {
            Warn(i, "the last row ends with " + alone +
                        ", not CR LF: harmless at the end of the file, but a row added below would lose its "
                        "first character");
        } else {
            Warn(i, "the row ends with " + alone +
                        ", not CR LF: the reader skips two characters after a row's last \";\", so the next "
                        "row loses its first character");
        }
    }
}

void LayoutChecker::CheckFileWide() {
    if (clean_.commentUnclosed) {
        Warn(Raw, clean_.commentStarts.back(),
             "the comment is never closed: the reader ignores everything from here to the end of the file");
    }
    if (clean_.fileTextLength < bytes_.size() && !LooksLikeUtf16()) {
        Warn(Raw, clean_.fileTextLength,
             "a zero byte: the reader's text ends here, so the " +
                 std::to_string(bytes_.size() - clean_.fileTextLength) + " bytes from here on are ignored");
    }
}

void LayoutChecker::OnHeaderMissing(Header header, std::size_t pos) {
    const char* expected = HeaderText(header);
    walkEnd_ = std::min(pos, Length());
    const bool atStart = pos == 0;
    const std::string want = atStart ? "\"NAME\" or \"KEY:\"" : Quoted(expected);
    if (atStart && StartError()) return;
    if (pos >= Length()) {
        Error(pos, "the file ends where " + want + " should stand: " + kDoesNotLoad);
        return;
    }
    for (const char* other : {"KEY:", "MOD:", "LAYOUT:"}) {
        if (std::strcmp(other, expected) != 0 && StartsWith(pos, other)) {
            Error(pos, Quoted(other) + " stands where " + want +
                           " should: the headers come in the order \"KEY:\", \"MOD:\", \"LAYOUT:\", so " +
                           kDoesNotLoad);
            return;
        }
    }
    const std::string found = ExcerptOfLine(pos);
    const bool misspelt = AlikeIgnoringCase(pos, expected) || (atStart && AlikeIgnoringCase(pos, "NAME"));
    if (misspelt) {
        Error(pos, "misspelt header " + Quoted(found) + ": the reader wants exactly " + want +
                       " (case and colon count), so " + kDoesNotLoad);
    } else {
        Error(pos, "expected " + want + ", found " + Quoted(found) + ": " + kDoesNotLoad);
    }
}

// What stands before the first line's "NAME" or "KEY:", when the text does not begin with either.
bool LayoutChecker::StartError() {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes_.data());
    const std::size_t size = bytes_.size();
    if (LooksLikeUtf16()) {
        Error(Raw, 0, std::string("the file is UTF-16: the reader reads 8-bit text, which ends at its first zero "
                                  "byte, so ") + kDoesNotLoad + "; save it as 8-bit text");
        return true;
    }
    if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        Error(Raw, 0, std::string("the file begins with a UTF-8 byte-order mark: the reader wants \"NAME\" or "
                                  "\"KEY:\" first, so ") + kDoesNotLoad + "; save it without the mark");
        return true;
    }
    if (Length() == 0) {
        Error(Raw, 0, std::string("the file is empty, or holds nothing but comments and spaces: ") + kDoesNotLoad);
        return true;
    }
    if (IsBreak(At(0))) {
        const bool commentBefore = !clean_.commentStarts.empty() && clean_.commentStarts[0] < clean_.OriginOf(0);
        Error(0, std::string(commentBefore ? "the first line holds only a comment, which leaves an empty line"
                                           : "the file begins with a blank line") +
                     ": the reader wants \"NAME\" or \"KEY:\" at the very start, so " + kDoesNotLoad);
        return true;
    }
    return false;
}

bool LayoutChecker::LooksLikeUtf16() const {
    if (bytes_.size() < 2) return false;
    const unsigned char b0 = static_cast<unsigned char>(bytes_[0]);
    const unsigned char b1 = static_cast<unsigned char>(bytes_[1]);
    return (b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF) || b0 == 0 || b1 == 0;
}

// The text at `pos` spells `word` but for case or its colon.
bool LayoutChecker::AlikeIgnoringCase(std::size_t pos, const char* word) const {
    for (std::size_t i = 0; word[i] != '\0' && word[i] != ':'; ++i) {
        const char c = At(pos + i);
        if (c == '\0' || (c | 0x20) != (word[i] | 0x20)) return false;
    }
    return true;
}
