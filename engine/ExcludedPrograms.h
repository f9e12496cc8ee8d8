#pragma once
// The programs Marnell stays out of: the file exclude.txt, one program file
// name a line (mstsc.exe), '#' to the end of a line a comment, blank lines and
// surrounding spaces ignored. ANSI (Windows-1252), UTF-8 with or without a
// byte-order mark, and UTF-16 with one (as Notepad saves it) are read.
// Platform-free; the caller reads the file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class ExcludedPrograms {
public:
    // Only this much of a file is read: a list of program names is small, and
    // a huge file must not cost memory or time.
    static constexpr std::size_t kMaxFileBytes = 64 * 1024;

    // The list that the file's bytes give; anything past kMaxFileBytes is
    // ignored. A line holding a NUL character names no program.
    static ExcludedPrograms Parse(std::string_view bytes);

    // Whether a program's file name (no folder) is listed, ignoring case.
    bool Contains(std::u16string_view fileName) const;
    bool empty() const { return m_names.empty(); }
    const std::vector<std::u16string>& Names() const { return m_names; }

private:
    std::vector<std::u16string> m_names;  // folded to lower case
};
