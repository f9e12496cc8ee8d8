#include "LayoutCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <map>
#include <set>
#include <utility>

#include "CleanedText.h"
#include "KeyNames.h"
#include "KeyTranslation.h"

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
const char* const kDoesNotLoad = "the layout does not load";

int16_t Low16(uint32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFFu)); }
uint8_t Low8(uint32_t v) { return static_cast<uint8_t>(v & 0xFFu); }
bool IsBreak(char c) { return c == '\r' || c == '\n'; }
bool IsKeyCode(int code) { return code >= 1 && code <= 254; }
bool IsPassThrough(int code) {
    return std::find(PassThroughKeys.begin(), PassThroughKeys.end(), static_cast<uint32_t>(code)) !=
           PassThroughKeys.end();
}
std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string Hex4(uint32_t v) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(v & 0xFFFFu));
    return hex;
}

// A byte as a message can show it.
std::string ShownByte(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\t') return "a tab";
    if (c == '\r') return "a CR";
    if (c == '\n') return "an LF";
    if (u >= 33 && u < 127) return std::string("'") + c + "'";
    char hex[16];
    std::snprintf(hex, sizeof hex, "byte 0x%02X", u);
    return hex;
}

// One number as the reader scanned it: its characters are text[begin, end).
struct Field {
    std::size_t begin = 0;
    std::size_t end = 0;
    uint32_t value = 0;
    bool terminated = false;  // a terminator stood at `end`, rather than the end of the text
    bool Empty() const { return begin >= end; }
};

class Checker {
public:
    explicit Checker(const std::string& fileBytes)
        : bytes_(fileBytes), clean_(CleanLayoutText(fileBytes)), t_(clean_.text), n_(t_.size()) {}

    LayoutCheckReport Run() {
        LayoutCheckReport report;
        report.loads = Walk();
        CheckLineEndings();
        CheckFileWide();
        if (report.loads) report.tables = std::move(tables_);
        std::stable_sort(found_.begin(), found_.end(),
                         [](const Found& a, const Found& b) { return a.offset < b.offset; });
        for (const Found& f : found_) {
            LayoutDiagnostic d;
            LineAndColumn(f.offset, d.line, d.column);
            d.error = f.error;
            d.message = f.message;
            report.diagnostics.push_back(std::move(d));
        }
        return report;
    }

private:
    struct Found {
        std::size_t offset;
        bool error;
        std::string message;
    };

    // --- the reader's steps ---------------------------------------------------

    bool Walk() {
        while (!AtEnd() && StartsWith("NAME")) {
            SkipToLineBreak();
            SkipLineBreaks();
        }
        if (!StartsWith("KEY:")) return HeaderError("KEY:");
        pos_ += 4;
        if (Current() != '\r') {
            while (!AtEnd()) {
                const Field f = Scan(";\r");
                if (Current() == '\r') {  // the reader drops a last number without its ";"
                    if (activationRanOn_) {
                        NoteBreaks(f.begin, f.end);
                    } else if (!NoteLoneLf(f, "the activation line ends with LF alone, not CR LF: the reader reads on "
                                       "into the next line as more activation keys")) {
                        Warn(f.begin, "the last activation number " + Excerpt(f) +
                                          " has no \";\": the reader drops it, so that key is not needed for chords");
                    }
                    break;
                }
                tables_.ActivationKeys.push_back(Low16(f.value));
                CheckActivationKey(f);
                ++pos_;
                if (Current() == '\r') break;
            }
        }

        SkipLineBreaks();
        if (!StartsWith("MOD:")) return HeaderError("MOD:");
        tables_.ModifierKeys.push_back(0);
        pos_ += 4;
        if (Current() != '\r') {
            while (!AtEnd()) {
                const Field f = Scan(";");
                tables_.ModifierKeys.push_back(Low16(f.value));
                CheckModifierKey(f);
                ++pos_;
                if (Current() == '\r') break;
            }
        }

        SkipLineBreaks();
        if (!StartsWith("LAYOUT:")) return HeaderError("LAYOUT:");
        const std::size_t headerEnd = pos_ + 7;
        SkipToLineBreak();
        if (pos_ > headerEnd) {
            Warn(headerEnd, "text after \"LAYOUT:\" on its line is ignored: rows begin on the next line");
        }
        SkipLineBreaks();

        rowsStart_ = pos_;
        while (!AtEnd()) {
            const std::size_t rowStart = pos_;
            Field fields[4];
            for (int i = 0; i < 4; ++i) {
                fields[i] = Scan(";");
                if (i < 3) ++pos_;
            }
            tables_.KeyCodes.push_back(Low16(fields[0].value));
            tables_.ModifierIndexes.push_back(Low8(fields[1].value));
            tables_.LowerChars.push_back(static_cast<int32_t>(fields[2].value));
            tables_.UpperChars.push_back(static_cast<int32_t>(fields[3].value));
            CheckRow(rowStart, fields);
            pos_ += 3;  // past the fourth ";" and the two characters that end the row, whatever they are
        }
        walkEnd_ = n_;
        return true;
    }

    // --- what the reader accepts silently -----------------------------------------

    void CheckActivationKey(const Field& f) {
        // Once the list has run on past its line, what follows are other lines read as numbers.
        if (activationRanOn_) {
            NoteBreaks(f.begin, f.end);
            return;
        }
        if (NoteLoneLf(f, "the activation line ends with LF alone, not CR LF: the reader reads on into the next "
                          "line as more activation keys")) {
            return;
        }
        CheckDigits(f);
        const int code = Low16(f.value);
        const char* consequence =
            ", so it is never held: only an armed modifier could admit a key stroke, and none can be armed "
            "without it, so the layout types nothing";
        if (f.Empty()) {
            Warn(f.begin, std::string("empty activation number reads as 0") + consequence);
        } else if (!IsKeyCode(code)) {
            Warn(f.begin, "activation key " + std::to_string(code) + " is outside 1..254" + consequence);
        }
    }

    void CheckModifierKey(const Field& f) {
        const std::size_t index = tables_.ModifierKeys.size() - 1;
        const std::string modifier = "modifier " + std::to_string(index);
        if (modifierRanOn_) {
            NoteBreaks(f.begin, f.end);
            return;
        }
        const std::size_t lineBreak = FirstBreak(f);
        if (lineBreak != kNone) {
            const bool lone = t_[lineBreak] == '\n' || At(lineBreak + 1) != '\n';
            Warn(lineBreak, std::string(lone ? "the modifier line ends with a lone line break, not CR LF"
                                             : "the last modifier number has no \";\" before the end of its line") +
                                ": the reader runs the number on into the next line, up to the next \";\"");
            NoteBreaks(f.begin, f.end);
            modifierRanOn_ = true;
            return;
        }
        if (!f.terminated) {
            Warn(f.begin, "the last modifier number has no \";\": it runs on to the end of the file");
        }
        CheckDigits(f);
        const int code = Low16(f.value);
        if (f.Empty()) {
            Warn(f.begin, "empty modifier key reads as 0, which matches no key: " + modifier + " can never be armed");
            return;
        }
        if (!IsKeyCode(code)) {
            Warn(f.begin, "modifier key " + std::to_string(code) + " is outside 1..254: " + modifier +
                              " can never be armed");
            return;
        }
        if (IsPassThrough(code)) {
            Warn(f.begin, "modifier key " + std::to_string(code) + " (" + KeyName(code) +
                              ") is a pass-through key that the engine never handles: " + modifier +
                              " can never be armed");
            return;
        }
        const auto earlier = modifierIndexByKey_.find(code);
        if (earlier != modifierIndexByKey_.end()) {
            Warn(f.begin, "modifier key " + std::to_string(code) + " (" + KeyName(code) +
                              ") is listed twice, as modifiers " + std::to_string(earlier->second) + " and " +
                              std::to_string(index) + ": the later one is armed, so rows for modifier " +
                              std::to_string(earlier->second) + " never apply");
        }
        modifierIndexByKey_[code] = index;
    }

    void CheckRow(std::size_t rowStart, const Field (&fields)[4]) {
        const bool afterCleanEnd = previousRowEndedCleanly_;
        previousRowEndedCleanly_ = fields[3].terminated && At(fields[3].end + 1) == '\r' && At(fields[3].end + 2) == '\n';
        if (IsBreak(At(rowStart)) && !afterCleanEnd) {
            // What is left of a line that the row before did not end properly; that row's warning says so.
            for (const Field& f : fields) NoteBreaks(f.begin, f.end);
            return;
        }
        if (IsBreak(At(rowStart))) {
            bool onlyBreaks = true;
            for (std::size_t i = fields[0].begin; i < fields[0].end; ++i) onlyBreaks = onlyBreaks && IsBreak(t_[i]);
            const std::string key = std::to_string(Low16(fields[0].value));
            Warn(rowStart, "a blank line (or one that held only a comment) among the rows: " +
                               (onlyBreaks ? "the reader reads it as an extra row with key code " + key +
                                                 ", which matches no key"
                                           : "the reader takes the line break into the next row's key code, which "
                                             "becomes " + key + " and matches no key, so that row never types"));
            for (const Field& f : fields) NoteBreaks(f.begin, f.end);
            return;
        }
        for (int i = 0; i < 4; ++i) {
            const std::size_t lineBreak = FirstBreak(fields[i]);
            if (lineBreak != kNone) {
                Warn(lineBreak, "the row's line ends after " + std::to_string(i) +
                                    " numbers ended by \";\", not four: the reader takes the rest of the row from "
                                    "the next line, so the rows from here on are read wrongly");
                for (const Field& f : fields) NoteBreaks(f.begin, f.end);
                return;
            }
        }
        bool present[4] = {true, true, true, true};
        for (int i = 0; i < 4; ++i) {
            if (fields[i].terminated) continue;
            if (i == 3 && !fields[i].Empty()) {
                Warn(fields[i].end, "the row's fourth number has no \";\": it reads all the same because the file "
                                    "ends here, but a row added below would run into it");
            } else {
                Warn(fields[i].end, "the row is cut short by the end of the file: its missing numbers read as 0");
                for (int j = i; j < 4; ++j) present[j] = fields[j].begin < n_ && !fields[j].Empty();
            }
            break;
        }
        if (fields[3].terminated) CheckRowEnd(fields[3].end);
        for (int i = 0; i < 4; ++i) {
            if (present[i]) CheckDigits(fields[i]);
        }

        const int key = Low16(fields[0].value);
        const uint8_t index = Low8(fields[1].value);
        if (fields[0].Empty()) {
            Warn(fields[0].begin, "empty key code reads as 0, which matches no key: the row never applies");
        } else if (!IsKeyCode(key)) {
            Warn(fields[0].begin,
                 "key code " + std::to_string(key) + " is outside 1..254: the row never matches a key");
        } else if (IsPassThrough(key)) {
            Warn(fields[0].begin, "key code " + std::to_string(key) + " (" + KeyName(key) +
                                      ") is a pass-through key that the engine never translates: the row never "
                                      "applies");
        }
        if (present[1]) {
            if (fields[1].value > 0xFFu) {
                Warn(fields[1].begin, "modifier index " + std::to_string(fields[1].value) +
                                          " is kept as its low 8 bits, " + std::to_string(index));
            }
            const std::size_t modifierCount = tables_.ModifierKeys.size() - 1;
            if (index > modifierCount) {
                Warn(fields[1].begin, "modifier index " + std::to_string(index) +
                                          " has no modifier key behind it (the modifier line lists " +
                                          std::to_string(modifierCount) + "): the row never applies");
            }
        }
        const char* const caseNames[2] = {"lower-case", "upper-case"};
        for (int c = 0; c < 2; ++c) {
            const Field& f = fields[2 + c];
            if (!present[2 + c]) continue;
            if (f.Empty()) {
                Warn(f.begin, std::string("empty ") + caseNames[c] + " character reads as 0: the row types U+0000");
            } else if (f.value == 0) {
                Warn(f.begin, std::string(caseNames[c]) + " character 0: the row types U+0000");
            } else if (f.value > 0x10FFFFu) {
                Warn(f.begin, std::string(caseNames[c]) + " character " + std::to_string(f.value) +
                                  " is no Unicode code point (above 0x10FFFF): only its low 16 bits are typed, " +
                                  Hex4(f.value));
            }
        }

        if (!IsKeyCode(key)) return;
        const std::pair<int, int> match(key, index);
        const auto earlier = rowsByMatch_.find(match);
        if (earlier != rowsByMatch_.end()) {
            std::size_t line = 0, column = 0;
            LineAndColumn(earlier->second, line, column);
            Warn(fields[0].begin, "a row for the same key and modifier index stands at line " + std::to_string(line) +
                                      ": this later row wins, so that one never types");
            earlier->second = clean_.OriginOf(fields[0].begin);
        } else {
            rowsByMatch_.emplace(match, clean_.OriginOf(fields[0].begin));
        }
    }

    // The reader skips the two characters after a row's fourth ";", whatever they are.
    void CheckRowEnd(std::size_t semicolon) {
        const std::size_t next = semicolon + 1;
        if (next >= n_) return;
        if (t_[next] == '\r' && At(next + 1) == '\n') return;
        if (IsBreak(t_[next])) return;  // a lone line break: CheckLineEndings speaks of it
        std::size_t stop = next;
        while (stop < n_ && !IsBreak(t_[stop])) ++stop;
        Warn(next, "the row goes on after its fourth \";\" (" + Quoted(Escaped(next, stop)) +
                       "): the reader skips the two characters after it, whatever they are, so the next row is "
                       "read shifted");
    }

    void CheckDigits(const Field& f) {
        for (std::size_t i = f.begin; i < f.end; ++i) {
            if (t_[i] < '0' || t_[i] > '9') {
                Warn(i, ShownByte(t_[i]) + " inside a number: the reader takes it as a digit, so the number reads as " +
                            std::to_string(static_cast<int64_t>(static_cast<int32_t>(f.value))));
                return;
            }
        }
    }

    // Every lone CR or LF before the point where the reader stopped that no other
    // check has explained yet.
    void CheckLineEndings() {
        for (std::size_t i = 0; i < walkEnd_ && i < n_; ++i) {
            const bool crlf = t_[i] == '\r' && At(i + 1) == '\n';
            if (crlf) {
                ++i;
                continue;
            }
            if (!IsBreak(t_[i]) || explainedBreaks_.count(i) != 0) continue;
            const std::string alone = t_[i] == '\n' ? "LF alone" : "CR alone";
            if (i < rowsStart_) {
                Warn(i, "the line ends with " + alone +
                            ", not CR LF: harmless on this line, but the activation and modifier lines and the "
                            "rows need CR LF");
            } else if (i + 1 >= n_) {
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

    void CheckFileWide() {
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

    // --- errors: the file does not load -----------------------------------------

    bool HeaderError(const char* expected) {
        walkEnd_ = std::min(pos_, n_);
        const bool atStart = pos_ == 0;
        const std::string want = atStart ? "\"NAME\" or \"KEY:\"" : Quoted(expected);
        if (atStart && StartError()) return false;
        if (pos_ >= n_) {
            Error(pos_, "the file ends where " + want + " should stand: " + kDoesNotLoad);
            return false;
        }
        for (const char* header : {"KEY:", "MOD:", "LAYOUT:"}) {
            if (std::strcmp(header, expected) != 0 && StartsWith(header)) {
                Error(pos_, Quoted(header) + " stands where " + want +
                                " should: the headers come in the order \"KEY:\", \"MOD:\", \"LAYOUT:\", so " +
                                kDoesNotLoad);
                return false;
            }
        }
        const std::string found = ExcerptOfLine(pos_);
        const bool misspelt = AlikeIgnoringCase(expected) || (atStart && AlikeIgnoringCase("NAME"));
        if (misspelt) {
            Error(pos_, "misspelt header " + Quoted(found) + ": the reader wants exactly " + want +
                            " (case and colon count), so " + kDoesNotLoad);
        } else {
            Error(pos_, "expected " + want + ", found " + Quoted(found) + ": " + kDoesNotLoad);
        }
        return false;
    }

    // What stands before the first line's "NAME" or "KEY:", when the text does not begin with either.
    bool StartError() {
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
        if (n_ == 0) {
            Error(Raw, 0, std::string("the file is empty, or holds nothing but comments and spaces: ") + kDoesNotLoad);
            return true;
        }
        if (IsBreak(t_[0])) {
            const bool commentBefore = !clean_.commentStarts.empty() && clean_.commentStarts[0] < clean_.OriginOf(0);
            Error(0, std::string(commentBefore ? "the first line holds only a comment, which leaves an empty line"
                                               : "the file begins with a blank line") +
                         ": the reader wants \"NAME\" or \"KEY:\" at the very start, so " + kDoesNotLoad);
            return true;
        }
        return false;
    }

    bool LooksLikeUtf16() const {
        const std::size_t size = bytes_.size();
        if (size >= 2) {
            const unsigned char b0 = static_cast<unsigned char>(bytes_[0]);
            const unsigned char b1 = static_cast<unsigned char>(bytes_[1]);
            if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) return true;
            if (b0 == 0 || b1 == 0) return true;
        }
        return false;
    }

    // The text at the cursor spells `word` but for case or its colon.
    bool AlikeIgnoringCase(const char* word) const {
        std::size_t i = 0;
        for (; word[i] != '\0' && word[i] != ':'; ++i) {
            const char c = At(pos_ + i);
            if (c == '\0' || (c | 0x20) != (word[i] | 0x20)) return false;
        }
        return true;
    }

    // --- cursor over the cleaned text, as the reader's ------------------------------

    bool AtEnd() const { return pos_ >= n_; }
    char At(std::size_t i) const { return i < n_ ? t_[i] : '\0'; }
    char Current() const { return At(pos_); }
    bool StartsWith(const char* word) const { return pos_ <= n_ && t_.compare(pos_, std::strlen(word), word) == 0; }
    void SkipLineBreaks() {
        while (!AtEnd() && IsBreak(Current())) ++pos_;
    }
    void SkipToLineBreak() {
        while (!AtEnd() && !IsBreak(Current())) ++pos_;
    }
    Field Scan(const char* terminators) {
        Field f;
        f.begin = pos_;
        while (!AtEnd() && std::strchr(terminators, Current()) == nullptr) {
            f.value = f.value * 10u + (static_cast<uint32_t>(static_cast<unsigned char>(Current())) - 48u);
            ++pos_;
        }
        f.end = pos_;
        f.terminated = !AtEnd();
        return f;
    }

    // --- helpers ------------------------------------------------------------------

    std::size_t FirstBreak(const Field& f) const {
        for (std::size_t i = f.begin; i < f.end && i < n_; ++i) {
            if (IsBreak(t_[i])) return i;
        }
        return kNone;
    }

    // An activation number that takes in an LF: reported once, and its breaks noted.
    bool NoteLoneLf(const Field& f, const std::string& message) {
        const std::size_t lineBreak = FirstBreak(f);
        if (lineBreak == kNone) return false;
        Warn(lineBreak, message);
        NoteBreaks(f.begin, f.end);
        activationRanOn_ = true;
        return true;
    }
    void NoteBreaks(std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end && i < n_; ++i) {
            if (IsBreak(t_[i])) explainedBreaks_.insert(i);
        }
    }

    std::string Excerpt(const Field& f) const { return Quoted(Escaped(f.begin, f.end)); }

    // The file's own bytes from cleaned position `pos` to the end of that line, shortened.
    std::string ExcerptOfLine(std::size_t pos) const {
        const std::size_t from = clean_.OriginOf(pos);
        std::size_t to = from;
        while (to < clean_.fileTextLength && !IsBreak(bytes_[to]) && to - from < 24) ++to;
        std::string out;
        for (std::size_t i = from; i < to; ++i) out += EscapedByte(bytes_[i]);
        return out;
    }
    std::string Escaped(std::size_t begin, std::size_t end) const {
        std::string out;
        for (std::size_t i = begin; i < end && i < n_ && out.size() < 24; ++i) out += EscapedByte(t_[i]);
        return out;
    }
    static std::string EscapedByte(char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') return std::string("\\") + c;
        if (c == '\t') return "\\t";
        if (u >= 32 && u < 127) return std::string(1, c);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", u);
        return hex;
    }

    void LineAndColumn(std::size_t offset, std::size_t& line, std::size_t& column) const {
        if (lineStarts_.empty()) {
            lineStarts_.push_back(0);
            for (std::size_t i = 0; i < clean_.fileTextLength; ++i) {
                const char c = bytes_[i];
                if (c == '\r' && i + 1 < clean_.fileTextLength && bytes_[i + 1] == '\n') continue;
                if (IsBreak(c)) lineStarts_.push_back(i + 1);
            }
        }
        const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
        line = static_cast<std::size_t>(after - lineStarts_.begin());
        column = offset - *(after - 1) + 1;
    }

    enum RawOffset { Raw };
    void Warn(std::size_t cleanedPos, const std::string& message) {
        found_.push_back({clean_.OriginOf(cleanedPos), false, message});
    }
    void Warn(RawOffset, std::size_t offset, const std::string& message) { found_.push_back({offset, false, message}); }
    void Error(std::size_t cleanedPos, const std::string& message) {
        found_.push_back({clean_.OriginOf(cleanedPos), true, message});
    }
    void Error(RawOffset, std::size_t offset, const std::string& message) {
        found_.push_back({offset, true, message});
    }

    const std::string& bytes_;
    const CleanedText clean_;
    const std::string& t_;
    const std::size_t n_;
    std::size_t pos_ = 0;
    std::size_t rowsStart_ = kNone;
    std::size_t walkEnd_ = 0;
    LayoutTables tables_;
    std::map<std::pair<int, int>, std::size_t> rowsByMatch_;  // key and index -> offset of the latest row
    std::map<int, std::size_t> modifierIndexByKey_;  // the latest index of each modifier key
    std::set<std::size_t> explainedBreaks_;
    bool activationRanOn_ = false;
    bool modifierRanOn_ = false;
    bool previousRowEndedCleanly_ = true;
    std::vector<Found> found_;
    mutable std::vector<std::size_t> lineStarts_;
};

}  // namespace

LayoutCheckReport CheckLayoutBytes(const std::string& fileBytes) { return Checker(fileBytes).Run(); }

LayoutCheckReport UnreadableLayoutReport() {
    LayoutCheckReport report;
    LayoutDiagnostic d;
    d.error = true;
    d.message = std::string("the file cannot be opened or read (missing, not accessible, or larger than 16 MiB): ") +
                kDoesNotLoad;
    report.diagnostics.push_back(d);
    return report;
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
