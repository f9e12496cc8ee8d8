#pragma once
// The checker behind CheckLayoutBytes. The reader walks the file and reports
// what it meets (LayoutReadObserver); the checker keeps only its rules:
// ListRules.cpp for the activation and modifier lines, RowRules.cpp for the
// rows, FileRules.cpp for the file as a whole (its encoding, its line ends and
// why it does not load), Diagnostics.cpp for placing and wording findings.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CleanedText.h"
#include "LayoutCheck.h"
#include "LayoutText.h"

class LayoutChecker : public LayoutReadObserver {
public:
    explicit LayoutChecker(const std::string& fileBytes) : bytes_(fileBytes) {}
    LayoutCheckReport Run();

    // What the reader reports.
    void OnTextEnd(std::size_t length) override { clean_.OnTextEnd(length); }
    void OnComment(std::size_t begin, std::size_t end, bool closed) override { clean_.OnComment(begin, end, closed); }
    void OnCleaned(const std::string& cleaned) override { clean_.OnCleaned(bytes_, cleaned); }
    void OnActivationNumber(const Number& n, bool kept) override;
    void OnModifierNumber(const Number& n) override;
    void OnLayoutHeader(std::size_t headerEnd, std::size_t lineEnd) override;
    void OnRowsStart(std::size_t pos) override { rowsStart_ = pos; }
    void OnRow(std::size_t start, const Number (&fields)[4]) override;
    void OnHeaderMissing(Header expected, std::size_t pos) override;

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

private:
    using Field = Number;

    // ListRules.cpp
    void CheckActivationKey(const Field& f);
    void CheckDroppedActivationNumber(const Field& f);
    bool NoteLoneLf(const Field& f, const std::string& message);

    // RowRules.cpp
    void CheckRowEnd(std::size_t semicolon);
    void CheckDigits(const Field& f);
    void CheckRowValues(const Field (&fields)[4], const bool (&present)[4]);
    void CheckRepeatedRow(const Field& keyField);

    // FileRules.cpp
    void CheckLineEndings();
    void CheckFileWide();
    bool StartError();
    bool LooksLikeUtf16() const;
    bool AlikeIgnoringCase(std::size_t pos, const char* word) const;

    // Diagnostics.cpp: the cleaned text, and where findings stand in the file.
    std::size_t Length() const { return clean_.text.size(); }
    char At(std::size_t i) const { return i < Length() ? clean_.text[i] : '\0'; }
    bool StartsWith(std::size_t pos, const char* word) const;
    std::size_t FirstBreak(const Field& f) const;
    void NoteBreaks(std::size_t begin, std::size_t end);
    std::string Excerpt(const Field& f) const;
    std::string ExcerptOfLine(std::size_t pos) const;
    std::string Escaped(std::size_t begin, std::size_t end) const;
    void LineAndColumn(std::size_t offset, std::size_t& line, std::size_t& column) const;
    enum RawOffset { Raw };
    void Warn(std::size_t cleanedPos, const std::string& message);
    void Warn(RawOffset, std::size_t offset, const std::string& message);
    void Error(std::size_t cleanedPos, const std::string& message);
    void Error(RawOffset, std::size_t offset, const std::string& message);

    struct Found {
        std::size_t offset;
        bool error;
        std::string message;
    };

    const std::string& bytes_;
    CleanedText clean_;
    LayoutTables tables_;
    std::size_t rowsStart_ = kNone;
    std::size_t walkEnd_ = 0;  // where the reader stopped
    std::map<std::pair<int, int>, std::size_t> rowsByMatch_;  // key and index -> offset of the latest row
    std::map<int, std::size_t> modifierIndexByKey_;  // the latest index of each modifier key
    std::set<std::size_t> explainedBreaks_;
    bool activationRanOn_ = false;
    bool modifierRanOn_ = false;
    bool previousRowEndedCleanly_ = true;
    std::vector<Found> found_;
    mutable std::vector<std::size_t> lineStarts_;
};

// Shared by the rule files.
namespace layout_check {
extern const char* const kDoesNotLoad;
bool IsBreak(char c);
std::string Quoted(const std::string& s);
std::string ShownByte(char c);
}  // namespace layout_check
