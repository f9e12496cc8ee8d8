#include "LayoutText.h"

#include <algorithm>
#include <cstring>
#include <utility>

std::string RemoveComments(std::string text, LayoutReadObserver* observer) {
    // Compacts in place: what is kept only ever moves towards the front, and the
    // search reads the text at or after `p`, which nothing has overwritten yet.
    std::size_t kept = 0;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t begin = text.find("/*", p);
        const std::size_t stop = begin == std::string::npos ? text.size() : begin;
        if (kept != p) std::copy(text.begin() + p, text.begin() + stop, text.begin() + kept);
        kept += stop - p;
        if (begin == std::string::npos) break;
        const std::size_t end = text.find("*/", begin + 2);
        const bool closed = end != std::string::npos;
        if (observer) observer->OnComment(begin, closed ? end + 2 : text.size(), closed);
        if (!closed) break;  // an unclosed comment runs to the end of the text
        p = end + 2;
    }
    text.resize(kept);
    return text;
}

std::string RemoveSpaces(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

namespace {

// A cursor over the cleaned text; a position at or past the end reads as zero.
class Cursor {
public:
    explicit Cursor(const std::string& text) : text_(text) {}

    std::size_t pos = 0;

    bool AtEnd() const { return pos >= text_.size(); }
    char At(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
    char Current() const { return At(pos); }

    // The cursor may stand past the end (a list's last terminator can be the end itself).
    bool StartsWith(const char* word) const {
        return pos <= text_.size() && text_.compare(pos, std::strlen(word), word) == 0;
    }

    void SkipLineBreaks() {
        while (!AtEnd() && (Current() == '\r' || Current() == '\n')) ++pos;
    }
    void SkipToLineBreak() {
        while (!AtEnd() && Current() != '\r' && Current() != '\n') ++pos;
    }

    // Scans a number up to the first of `terminators` or the end of the text
    // and leaves the cursor on the terminator. Every character c enters the
    // value as value * 10 + (c - 48), in 32-bit wrap-around arithmetic.
    LayoutReadObserver::Number ScanNumber(const char* terminators) {
        LayoutReadObserver::Number number;
        number.begin = pos;
        while (!AtEnd() && std::strchr(terminators, Current()) == nullptr) {
            number.value = number.value * 10u + (static_cast<uint32_t>(static_cast<unsigned char>(Current())) - 48u);
            ++pos;
        }
        number.end = pos;
        number.terminated = !AtEnd();
        return number;
    }

private:
    const std::string& text_;
};

int16_t Low16(uint32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFFu)); }
uint8_t Low8(uint32_t v) { return static_cast<uint8_t>(v & 0xFFu); }
int32_t As32(uint32_t v) { return static_cast<int32_t>(v); }

}  // namespace

bool ParseLayoutText(const std::string& cleaned, LayoutTables& tables, LayoutReadObserver* observer) {
    using Header = LayoutReadObserver::Header;
    using Number = LayoutReadObserver::Number;
    Cursor c(cleaned);
    const auto missing = [&](Header header) {
        if (observer) observer->OnHeaderMissing(header, c.pos);
        return false;
    };

    while (!c.AtEnd() && c.StartsWith("NAME")) {
        c.SkipToLineBreak();
        c.SkipLineBreaks();
    }

    if (!c.StartsWith("KEY:")) return missing(Header::Key);
    c.pos += 4;
    if (c.Current() != '\r') {
        while (!c.AtEnd()) {
            const Number number = c.ScanNumber(";\r");
            const bool kept = c.Current() != '\r';  // a last number without its ";" is dropped
            if (kept) tables.ActivationKeys.push_back(Low16(number.value));
            if (observer) observer->OnActivationNumber(number, kept);
            if (!kept) break;
            ++c.pos;
            if (c.Current() == '\r') break;
        }
    }

    c.SkipLineBreaks();
    if (!c.StartsWith("MOD:")) return missing(Header::Mod);
    tables.ModifierKeys.push_back(0);
    c.pos += 4;
    if (c.Current() != '\r') {
        while (!c.AtEnd()) {
            // Only ";" ends a modifier number: one without it runs on into the next lines.
            const Number number = c.ScanNumber(";");
            tables.ModifierKeys.push_back(Low16(number.value));
            if (observer) observer->OnModifierNumber(number);
            ++c.pos;
            if (c.Current() == '\r') break;
        }
    }

    c.SkipLineBreaks();
    if (!c.StartsWith("LAYOUT:")) return missing(Header::Layout);
    const std::size_t headerEnd = c.pos + 7;
    c.SkipToLineBreak();
    if (observer) observer->OnLayoutHeader(headerEnd, c.pos);
    c.SkipLineBreaks();
    if (observer) observer->OnRowsStart(c.pos);

    while (!c.AtEnd()) {
        const std::size_t rowStart = c.pos;
        Number fields[4];
        for (int f = 0; f < 4; ++f) {
            fields[f] = c.ScanNumber(";");
            if (f < 3) ++c.pos;
        }
        tables.KeyCodes.push_back(Low16(fields[0].value));
        tables.ModifierIndexes.push_back(Low8(fields[1].value));
        tables.LowerChars.push_back(As32(fields[2].value));
        tables.UpperChars.push_back(As32(fields[3].value));
        if (observer) observer->OnRow(rowStart, fields);
        // Past the fourth ";" and the two characters that end the row, whatever they are.
        c.pos += 3;
    }
    return true;
}

bool ParseLayoutBytes(std::string bytes, LayoutTables& tables, LayoutReadObserver* observer) {
    // Cleaned in place, so that a file of megabytes is held in memory only once.
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string::npos) bytes.resize(zero);
    if (observer) observer->OnTextEnd(bytes.size());
    std::string cleaned = RemoveSpaces(RemoveComments(std::move(bytes), observer));
    if (observer) observer->OnCleaned(cleaned);
    return ParseLayoutText(cleaned, tables, observer);
}
