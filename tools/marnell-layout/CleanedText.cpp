#include "CleanedText.h"

CleanedText CleanLayoutText(const std::string& fileBytes) {
    CleanedText out;
    const std::string raw = fileBytes.substr(0, fileBytes.find('\0'));
    const std::size_t n = raw.size();
    out.fileTextLength = n;

    // The same search as the reader's: after a closed comment the next "/*" is
    // looked for right behind its "*/", never across the gap it leaves.
    std::vector<bool> inComment(n, false);
    std::size_t p = 0;
    while (p < n) {
        const std::size_t begin = raw.find("/*", p);
        if (begin == std::string::npos) break;
        out.commentStarts.push_back(begin);
        const std::size_t close = raw.find("*/", begin + 2);
        const std::size_t end = close == std::string::npos ? n : close + 2;
        out.commentUnclosed = close == std::string::npos;
        for (std::size_t i = begin; i < end; ++i) inComment[i] = true;
        p = end;
    }

    out.text.reserve(n);
    out.origin.reserve(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        if (inComment[i] || raw[i] == ' ') continue;
        out.text.push_back(raw[i]);
        out.origin.push_back(i);
    }
    out.origin.push_back(n);
    return out;
}
