#pragma once
// An extended dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items)
// read field by field, so that tests can compare it with what the dialogs must be.

#include <windows.h>

#include <string>
#include <vector>

// A template field that is either a number (0xFFFF, n) or a string.
struct NameOrOrdinal {
    WORD ordinal = 0;   // nonzero for the number form
    std::wstring name;  // the string form; empty for none
};

struct DialogItem {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
};

struct DialogTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring title;
    WORD pointSize = 0;  // the font fields exist only with DS_SETFONT
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

// Reads an extended template. False when the bytes are not one (a classic
// DLGTEMPLATE included) or end before the template does.
bool ReadDialogTemplateEx(const std::string& bytes, DialogTemplate& out);

// True when the class field names the predefined class, as a number (0x0080
// button, 0x0082 static) or by its name in any letter case.
bool IsPredefinedClass(const NameOrOrdinal& windowClass, WORD ordinal, const wchar_t* name);
