#pragma once
// CMenu: owns one menu handle and destroys it with the object.

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    BOOL LoadMenu(UINT nIDResource);  // from AfxGetResourceHandle()
    HMENU GetSubMenu(int nPos) const;  // owned by this menu; nullptr when there is none
    BOOL DestroyMenu();
};
