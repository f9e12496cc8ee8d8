#include "Menu.h"

#include "WinApp.h"

BOOL CMenu::LoadMenu(UINT nIDResource) {
    DestroyMenu();
    m_hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
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
