// The rows: what the reader accepts there silently.

#include "KeyNames.h"
#include "KeyTranslation.h"
#include "LayoutChecker.h"

using namespace layout_check;

void LayoutChecker::OnRow(std::size_t rowStart, const Number (&fields)[4]) {
    const bool afterCleanEnd = previousRowEndedCleanly_;
    previousRowEndedCleanly_ = fields[3].terminated && At(fields[3].end + 1) == '\r' && At(fields[3].end + 2) == '\n';
    if (IsBreak(At(rowStart)) && !afterCleanEnd) {
        // What is left of a line that the row before did not end properly; that row's warning says so.
        for (const Field& f : fields) NoteBreaks(f.begin, f.end);
        return;
    }
    if (IsBreak(At(rowStart))) {
        bool onlyBreaks = true;
        for (std::size_t i = fields[0].begin; i < fields[0].end; ++i) onlyBreaks = onlyBreaks && IsBreak(At(i));
        const std::string key = std::to_string(tables_.KeyCodes.back());
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
            for (int j = i; j < 4; ++j) present[j] = fields[j].begin < Length() && !fields[j].Empty();
        }
        break;
    }
    if (fields[3].terminated) CheckRowEnd(fields[3].end);
    for (int i = 0; i < 4; ++i) {
        if (present[i]) CheckDigits(fields[i]);
    }
    CheckRowValues(fields, present);
    CheckRepeatedRow(fields[0]);
}

void LayoutChecker::CheckRowValues(const Field (&fields)[4], const bool (&present)[4]) {
    const int key = tables_.KeyCodes.back();
    const uint8_t index = tables_.ModifierIndexes.back();
    if (fields[0].Empty()) {
        Warn(fields[0].begin, "empty key code reads as 0, which matches no key: the row never applies");
    } else if (!IsKeyCode(key)) {
        Warn(fields[0].begin, "key code " + std::to_string(key) + " is outside 1..254: the row never matches a key");
    } else if (IsPassThroughKey(static_cast<uint32_t>(key))) {
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
                              CodePointName(f.value & 0xFFFFu));
        }
    }
}

// A later row for the same key and modifier index wins over the earlier one.
void LayoutChecker::CheckRepeatedRow(const Field& keyField) {
    const int key = tables_.KeyCodes.back();
    if (!IsKeyCode(key)) return;
    const std::pair<int, int> match(key, tables_.ModifierIndexes.back());
    const auto earlier = rowsByMatch_.find(match);
    if (earlier != rowsByMatch_.end()) {
        std::size_t line = 0, column = 0;
        LineAndColumn(earlier->second, line, column);
        Warn(keyField.begin, "a row for the same key and modifier index stands at line " + std::to_string(line) +
                                 ": this later row wins, so that one never types");
        earlier->second = clean_.OriginOf(keyField.begin);
    } else {
        rowsByMatch_.emplace(match, clean_.OriginOf(keyField.begin));
    }
}

// The reader skips the two characters after a row's fourth ";", whatever they are.
void LayoutChecker::CheckRowEnd(std::size_t semicolon) {
    const std::size_t next = semicolon + 1;
    if (next >= Length()) return;
    if (At(next) == '\r' && At(next + 1) == '\n') return;
    if (IsBreak(At(next))) return;  // a lone line break: CheckLineEndings speaks of it
    std::size_t stop = next;
    while (stop < Length() && !IsBreak(At(stop))) ++stop;
    Warn(next, "the row goes on after its fourth \";\" (" + Quoted(Escaped(next, stop)) +
                   "): the reader skips the two characters after it, whatever they are, so the next row is "
                   "read shifted");
}

void LayoutChecker::CheckDigits(const Field& f) {
    for (std::size_t i = f.begin; i < f.end; ++i) {
        if (At(i) < '0' || At(i) > '9') {
            Warn(i, ShownByte(At(i)) + " inside a number: the reader takes it as a digit, so the number reads as " +
                        std::to_string(static_cast<int64_t>(static_cast<int32_t>(f.value))));
            return;
        }
    }
}
