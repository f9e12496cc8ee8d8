#pragma once
// The layout reader's cleaning (text up to the first zero byte, comments, then
// spaces), keeping for every character of the cleaned text where it stood in
// the file, so that the checker can name the line and column of a problem.

#include <cstddef>
#include <string>
#include <vector>

struct CleanedText {
    std::string text;                 // what the reader parses
    std::vector<std::size_t> origin;  // offset in the file of each character; one more entry for the end
    std::size_t fileTextLength = 0;   // bytes before the first zero byte (or all of them)
    std::vector<std::size_t> commentStarts;  // offsets of every "/*" that began a comment
    bool commentUnclosed = false;     // the last comment runs to the end of the text

    // Offset in the file of cleaned position `pos`; positions past the end map to the end.
    std::size_t OriginOf(std::size_t pos) const { return origin[pos < text.size() ? pos : text.size()]; }
};

CleanedText CleanLayoutText(const std::string& fileBytes);
