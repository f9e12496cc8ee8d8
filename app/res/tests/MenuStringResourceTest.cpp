#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "resource.h"

namespace {

// A separator has no identifier and no text.
struct ExpectedEntry {
    UINT id;
    const wchar_t* text;
    bool checked;
};

void ExpectTrayMenu(UINT menuId, const ExpectedEntry (&entries)[11]) {
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(menu), 1);
    wchar_t text[64] = {};
    MENUITEMINFOW top = {};
    top.cbSize = sizeof top;
    top.fMask = MIIM_STRING | MIIM_SUBMENU;
    top.dwTypeData = text;
    top.cch = 64;
    ASSERT_TRUE(::GetMenuItemInfoW(menu, 0, TRUE, &top));
    EXPECT_STREQ(text, L"POPUP");
    HMENU popup = top.hSubMenu;
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(::GetMenuItemCount(popup), 11);
    for (UINT i = 0; i < 11; ++i) {
        SCOPED_TRACE(testing::Message() << "position " << i);
        const ExpectedEntry& e = entries[i];
        wchar_t entryText[64] = {};
        MENUITEMINFOW mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        mii.dwTypeData = entryText;
        mii.cch = 64;
        ASSERT_TRUE(::GetMenuItemInfoW(popup, i, TRUE, &mii));
        if (e.text == nullptr) {
            EXPECT_TRUE(mii.fType & MFT_SEPARATOR);
            continue;
        }
        EXPECT_FALSE(mii.fType & MFT_SEPARATOR);
        EXPECT_EQ(mii.wID, e.id);
        EXPECT_STREQ(entryText, e.text);
        EXPECT_EQ((mii.fState & MFS_CHECKED) != 0, e.checked);
        EXPECT_EQ(mii.hSubMenu, nullptr);
    }
    ::DestroyMenu(menu);
}

}  // namespace

// The check marks belong to the menus: English in the English one, Cymraeg in
// the Welsh one; the language entries keep their own names in both. Enabled's
// mark is set each time the menu opens, from the state of translation, as are
// the panel entry's mark and the activation key's name in its text.
TEST(TrayMenus, EnglishMenuEntriesIdsSeparatorsAndCheckMark) {
    ExpectTrayMenu(IDR_TRAY_MENU_ENGLISH, {
        {ID_TRAY_CHARACTERS, L"Characters\u2026", false},
        {ID_TRAY_SHOW_CHARACTERS, L"Show characters while the keys are held", false},
        {0, nullptr, false},
        {ID_TRAY_ENABLED, L"Enabled", false},
        {0, nullptr, false},
        {ID_TRAY_ABOUT, L"About Marnell", false},
        {0, nullptr, false},
        {ID_LANGUAGE_ENGLISH, L"English", true},
        {ID_LANGUAGE_CYMRAEG, L"Cymraeg", false},
        {0, nullptr, false},
        {ID_TRAY_EXIT, L"Exit", false},
    });
}

TEST(TrayMenus, WelshMenuEntriesIdsSeparatorsAndCheckMark) {
    ExpectTrayMenu(IDR_TRAY_MENU_CYMRAEG, {
        {ID_TRAY_CHARACTERS, L"Nodau\u2026", false},
        {ID_TRAY_SHOW_CHARACTERS, L"Dangos y nodau wrth ddal y bysellau", false},
        {0, nullptr, false},
        {ID_TRAY_ENABLED, L"Galluogi", false},
        {0, nullptr, false},
        {ID_TRAY_ABOUT, L"Ynghylch Marnell", false},
        {0, nullptr, false},
        {ID_LANGUAGE_ENGLISH, L"English", false},
        {ID_LANGUAGE_CYMRAEG, L"Cymraeg", true},
        {0, nullptr, false},
        {ID_TRAY_EXIT, L"Gadael", false},
    });
}

TEST(SystemMenuString, ReadsAsAnAnsiString) {
    char text[64] = {};
    const int n = ::LoadStringA(::GetModuleHandleW(nullptr), IDS_SYSMENU_ABOUT, text, 64);
    EXPECT_EQ(std::string(text), "&About Marnell2...");
    EXPECT_EQ(n, 18);
}
