#pragma once
// A fresh working directory for one test, holding the layout file that the
// program reads as "./default.vmap". Removed again, with its files, at the end.

#include <string>

// Activation key F24 (135), modifier key 222 as entry 1. A types U+00E1/U+00C1
// as a chord and U+00E2/U+00C2 after the modifier; O types U+00F3/U+00D3 as a
// chord only; W types U+0175/U+0174 after the modifier only; Z's character
// value 0x110000, past Unicode, types its low 16 bits, 0; X types U+1F600.
extern const char kTestLayout[];
// The same keys, but A types U+00E0/U+00C0 as a chord.
extern const char kEditedLayout[];

class LayoutDirectory {
public:
    LayoutDirectory();  // creates the directory and makes it current
    ~LayoutDirectory();  // back to the previous directory; deletes everything
    LayoutDirectory(const LayoutDirectory&) = delete;
    LayoutDirectory& operator=(const LayoutDirectory&) = delete;

    bool Write(const char* name, const char* text) const;
    bool WriteLayout(const char* text) const { return Write("default.vmap", text); }
    bool Remove(const char* name) const;

    const std::string& Path() const { return m_path; }
    bool IsCurrent() const;

private:
    std::string m_previous;
    std::string m_path;
};
