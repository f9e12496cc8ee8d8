// Where the checker's findings stand in the file, and how they show bytes.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "LayoutChecker.h"

namespace layout_check {

const char* const kDoesNotLoad = "the layout does not load";

bool IsBreak(char c) { return c == '\r' || c == '\n'; }
std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

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

}  // namespace layout_check

using namespace layout_check;

namespace {

std::string EscapedByte(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') return std::string("\\") + c;
    if (c == '\t') return "\\t";
    if (u >= 32 && u < 127) return std::string(1, c);
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", u);
    return hex;
}

}  // namespace

bool LayoutChecker::StartsWith(std::size_t pos, const char* word) const {
    return pos <= Length() && clean_.text.compare(pos, std::strlen(word), word) == 0;
}

std::size_t LayoutChecker::FirstBreak(const Field& f) const {
    for (std::size_t i = f.begin; i < f.end && i < Length(); ++i) {
        if (IsBreak(clean_.text[i])) return i;
    }
    return kNone;
}

void LayoutChecker::NoteBreaks(std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end && i < Length(); ++i) {
        if (IsBreak(clean_.text[i])) explainedBreaks_.insert(i);
    }
}

std::string LayoutChecker::Excerpt(const Field& f) const { return Quoted(Escaped(f.begin, f.end)); }

// The file's own bytes from cleaned position `pos` to the end of that line, shortened.
std::string LayoutChecker::ExcerptOfLine(std::size_t pos) const {
    const std::size_t from = clean_.OriginOf(pos);
    std::size_t to = from;
    while (to < clean_.fileTextLength && !IsBreak(bytes_[to]) && to - from < 24) ++to;
    std::string out;
    for (std::size_t i = from; i < to; ++i) out += EscapedByte(bytes_[i]);
    return out;
}

std::string LayoutChecker::Escaped(std::size_t begin, std::size_t end) const {
    std::string out;
    for (std::size_t i = begin; i < end && i < Length() && out.size() < 24; ++i) out += EscapedByte(clean_.text[i]);
    return out;
}

void LayoutChecker::LineAndColumn(std::size_t offset, std::size_t& line, std::size_t& column) const {
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

void LayoutChecker::Warn(std::size_t cleanedPos, const std::string& message) {
    found_.push_back({clean_.OriginOf(cleanedPos), false, message});
}
void LayoutChecker::Warn(RawOffset, std::size_t offset, const std::string& message) {
    found_.push_back({offset, false, message});
}
void LayoutChecker::Error(std::size_t cleanedPos, const std::string& message) {
    found_.push_back({clean_.OriginOf(cleanedPos), true, message});
}
void LayoutChecker::Error(RawOffset, std::size_t offset, const std::string& message) {
    found_.push_back({offset, true, message});
}
