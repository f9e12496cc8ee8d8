#pragma once
// A fresh working directory for one test under Wine, holding the layout file
// that the program reads as "./default.vmap". Removed again, with its files,
// at the end. The one way every Windows test sets up a layout.

#include <string>
#include <vector>

// A layout with one activation key, one modifier key and the given rows, each
// row "key;modifier;lower;upper;". Lines end in CR LF.
std::string LayoutText(int activationKey, int modifierKey, const std::vector<std::string>& rows);

class LayoutDirectory {
public:
    LayoutDirectory();  // creates the directory and makes it current
    explicit LayoutDirectory(const std::string& layout) : LayoutDirectory() { WriteLayout(layout); }
    ~LayoutDirectory();  // back to the previous directory; deletes everything
    LayoutDirectory(const LayoutDirectory&) = delete;
    LayoutDirectory& operator=(const LayoutDirectory&) = delete;

    bool Write(const char* name, const std::string& text) const;
    bool WriteLayout(const std::string& text) const { return Write("default.vmap", text); }
    bool Remove(const char* name) const;

    const std::string& Path() const { return m_path; }
    bool IsCurrent() const;

private:
    std::string m_previous;
    std::string m_path;
};
