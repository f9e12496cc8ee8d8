#pragma once
// The reader's cleaned text, with, for every character, where it stood in the
// file, so that the checker can name the line and column of a problem. Built
// from what the reader reports of its own cleaning (LayoutReadObserver): the
// text's end and each comment it removed; spaces go wherever they stand.

#include <cstddef>
#include <string>
#include <vector>

struct CleanedText {
    std::string text;                 // what the reader parses
    std::vector<std::size_t> origin;  // offset in the file of each character; one more entry for the end
    std::size_t fileTextLength = 0;   // bytes before the first zero byte (or all of them)
    std::vector<std::size_t> commentStarts;  // offsets of every "/*" that began a comment
    std::vector<std::size_t> commentEnds;    // and just past the end of each
    bool commentUnclosed = false;     // the last comment runs to the end of the text

    // Offset in the file of cleaned position `pos`; positions past the end map to the end.
    std::size_t OriginOf(std::size_t pos) const { return origin[pos < text.size() ? pos : text.size()]; }

    // What the reader reports, in its order: the text's end, each comment, the cleaned text.
    void OnTextEnd(std::size_t length) { fileTextLength = length; }
    void OnComment(std::size_t begin, std::size_t end, bool closed);
    void OnCleaned(const std::string& fileBytes, const std::string& cleaned);
};

// The reader's cleaning of a file's bytes, on its own.
CleanedText CleanLayoutText(const std::string& fileBytes);
