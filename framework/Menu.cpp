#include "Menu.h"

#include "WinApp.h"

namespace {

// The platform's menu loader reads entries until it meets the last one and so
// runs past the end of a template that holds none: such a menu counts as missing.
bool HoldsEntries(HINSTANCE module, UINT nIDResource) {
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(4));  // RT_MENU
    if (found == nullptr) return false;
    const DWORD size = ::SizeofResource(module, found);
    const WORD* header = static_cast<const WORD*>(::LockResource(::LoadResource(module, found)));
    // A version word and a header-size word; the entries follow the header.
    return header != nullptr && size > 4 && size > 4u + header[1];
}

}  // namespace

BOOL CMenu::LoadMenu(UINT nIDResource) {
    DestroyMenu();
    HINSTANCE module = AfxGetResourceHandle();
    if (!HoldsEntries(module, nIDResource)) return FALSE;
    m_hMenu = ::LoadMenuW(module, MAKEINTRESOURCEW(nIDResource));
    return m_hMenu != nullptr;
}

HMENU CMenu::GetSubMenu(int nPos) const {
    return m_hMenu ? ::GetSubMenu(m_hMenu, nPos) : nullptr;
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr) return FALSE;
    BOOL ok = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return ok;
}
