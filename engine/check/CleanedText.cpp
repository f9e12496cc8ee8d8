#include "CleanedText.h"

#include "LayoutTables.h"
#include "LayoutText.h"

void CleanedText::OnComment(std::size_t begin, std::size_t end, bool closed) {
    commentStarts.push_back(begin);
    commentEnds.push_back(end);
    commentUnclosed = !closed;
}

void CleanedText::OnCleaned(const std::string& fileBytes, const std::string& cleaned) {
    text = cleaned;
    origin.clear();
    origin.reserve(cleaned.size() + 1);
    std::size_t comment = 0;
    for (std::size_t i = 0; i < fileTextLength; ++i) {
        while (comment < commentEnds.size() && commentEnds[comment] <= i) ++comment;
        if (comment < commentStarts.size() && commentStarts[comment] <= i) continue;
        if (fileBytes[i] != ' ') origin.push_back(i);
    }
    origin.push_back(fileTextLength);
}

namespace {

class CleaningOnly : public LayoutReadObserver {
public:
    CleaningOnly(const std::string& bytes, CleanedText& out) : m_bytes(bytes), m_out(out) {}
    void OnTextEnd(std::size_t length) override { m_out.OnTextEnd(length); }
    void OnComment(std::size_t begin, std::size_t end, bool closed) override { m_out.OnComment(begin, end, closed); }
    void OnCleaned(const std::string& cleaned) override { m_out.OnCleaned(m_bytes, cleaned); }

private:
    const std::string& m_bytes;
    CleanedText& m_out;
};

}  // namespace

CleanedText CleanLayoutText(const std::string& fileBytes) {
    CleanedText out;
    CleaningOnly observer(fileBytes, out);
    LayoutTables unused;
    ParseLayoutBytes(fileBytes, unused, &observer);
    return out;
}
